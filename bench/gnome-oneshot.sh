#!/bin/bash
# A one-shot change on GNOME's settings, where the desktop takes its wallpaper from the
# key picture-uri: from the start of `tapetor --next` (no copy running) until that key
# changes, beside `gsettings set` of a file already prepared, the least a program can do
# there. Real gsettings and dconf on a private session bus, a 1920x1080 Xvfb screen, a
# collection of 4K photos stretched.
#
#   bench/gnome-oneshot.sh [BUILD_DIR] [RUNS]      (defaults: build/, 11)

set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$ROOT/build}")
RUNS=${2:-11}
source "$ROOT/tests/desktop/lib.sh"
if [[ -z ${TAPETOR_BENCH_BUS:-} ]]; then
    ninja -C "$BUILD" -j2 tapetor bench_change >/dev/null || exit 1
    desktop_need dbus-run-session gsettings dconf /usr/libexec/dconf-service
    desktop_temp_home
    # dconf-service inherits the bus's environment: the temporary home comes first.
    TAPETOR_BENCH_BUS=1 dbus-run-session -- bash "$0" "$BUILD" "$RUNS"
    exit $?
fi
# The outer run owns the temporary folder; this one ends what it started.
trap 'T= desktop_cleanup' EXIT
T=$(dirname "$HOME")
start_xvfb 1920x1080x24
export XDG_CURRENT_DESKTOP=GNOME

PHOTO=$T/photo-4k.jpg
"$BUILD/bench/bench_change" make-photo "$PHOTO" 3840 2160 3000000 >/dev/null || exit 1
mkdir -p "$T/c" "$XDG_CONFIG_HOME/tapetor"
for name in a b c; do cp "$PHOTO" "$T/c/$name.jpg"; done
printf '%s\r\n' "$T/c/a.jpg" "$T/c/b.jpg" "$T/c/c.jpg" >"$T/c.tkl"
printf '[options]\nkolekce=%s\nv_stretch=True\n' "$T/c.tkl" >"$XDG_CONFIG_HOME/tapetor/tapetor.ini"
# Two prepared files, taken in turn, so that every set is a change.
cp "$PHOTO" "$T/prepared-1.jpg"
cp "$PHOTO" "$T/prepared-2.jpg"

# Every change under the background's folder, each line stamped when it was read.
KEYS=/org/gnome/desktop/background/
# The watcher itself is the tracked process: its reader ends with it.
dconf watch "$KEYS" > >(while read -r line; do echo "${EPOCHREALTIME/./} $line"; done >"$T/changes") &
track_pid $!
# The watcher is listening once it reports a write of its own.
until grep -q probe "$T/changes"; do
    dconf write "${KEYS}tapetor-probe" "'$RANDOM'"
    sleep 0.05
done

# until_changed START: sets `until` to the microseconds from START to the next change
# of picture-uri.
seen=0
until_changed() {
    local line
    wait_until "[[ \$(grep -c ' ${KEYS}picture-uri\$' \"$T/changes\") -gt $seen ]]" 10 || return 1
    seen=$((seen + 1))
    line=$(grep " ${KEYS}picture-uri\$" "$T/changes" | sed -n "${seen}p")
    until=$(( ${line%% *} - $1 ))
}

declare -A whole shown
for (( run = 0; run <= RUNS; run++ )); do
    for name in tapetor gsettings; do
        if [[ $name == tapetor ]]; then
            command=("$BUILD/tapetor" --next)
        else
            command=(gsettings set org.gnome.desktop.background picture-uri "file://$T/prepared-$((run % 2 + 1)).jpg")
        fi
        start=${EPOCHREALTIME/./}
        "${command[@]}" >/dev/null 2>&1 || { echo "$name failed"; exit 1; }
        elapsed=$(( ${EPOCHREALTIME/./} - start ))
        until_changed "$start" || { echo "$name changed no picture-uri"; exit 1; }
        (( run > 0 )) || continue  # the first round warms the caches
        whole[$name]+="$elapsed "
        shown[$name]+="$until "
    done
done

median() {
    tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] / 1000 }'
}
echo
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
echo "A one-shot change on GNOME's settings: 3840x2160 JPEG stretched, $RUNS runs each; medians in ms"
printf '%-52s %8s %8s\n' "" whole "until picture-uri changes"
printf '%-52s %8s %8s\n' "tapetor --next, no copy running" "$(median "${whole[tapetor]}")" "$(median "${shown[tapetor]}")"
printf '%-52s %8s %8s\n' "gsettings set picture-uri of a prepared file" "$(median "${whole[gsettings]}")" "$(median "${shown[gsettings]}")"
awk -v a="$(median "${shown[tapetor]}")" -v b="$(median "${whole[gsettings]}")" \
    'BEGIN { printf "ratio, until changed against one whole gsettings set: %.2f   target <= 1\n", a / b }'
