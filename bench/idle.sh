#!/usr/bin/env bash
# Idle cost in the tray: tapetor hidden with automatic changing on, beside a minimal Qt
# tray program with a 1 s timer, measured in the same run on the same private X server;
# then tapetor's resident memory hidden before and after a change of a 45 MP photo.
# Usage: bench/idle.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
seconds=${2:-60}
"$top/scripts/install-deps.sh" build run >/dev/null
cmake --build "$build" --target tapetor minimal_tray >/dev/null

work=$(mktemp -d)
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME/tapetor" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset XDG_CURRENT_DESKTOP

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
export DISPLAY=:$(cat "$work/display")
trayer --edge top --align right --widthtype request --height 24 --SetDockType true >/dev/null 2>&1 &
pids+=($!)
sleep 1

# Two 8192 x 5464 (45 MP) photos, 171 MiB each once decoded. The first run changes every
# 60 minutes: idle, not changing. Made from a small plasma so making them takes seconds.
for name in photo1 photo2; do
    /usr/bin/convert -size 1024x683 plasma:fractal -resize '8192x5464!' -quality 90 "$work/$name.jpg"
done
printf '%s\r\n' "$work/photo1.jpg" "$work/photo2.jpg" >"$work/k.tkl"
options() {
    printf '[options]\nkolekce=%s\nrun=1\nafterstart=False\nafterinterval=True\ninterval=%s\n' "$work/k.tkl" "$1" \
        >"$XDG_CONFIG_HOME/tapetor/tapetor.ini"
}
options 60

"$build/tapetor" >/dev/null 2>&1 &
tapetor=$!
pids+=($tapetor)
"$build/bench/minimal_tray" 1000 >/dev/null 2>&1 &
minimal=$!
pids+=($minimal)
sleep 5

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Every thread's switches, "TID COUNT" a line: each time a thread runs again, the processor
# was woken for it. A thread that ends in the window takes its count along, so only the
# threads still there are compared (a pool thread retiring would read as negative).
switches() {
    local f
    for f in /proc/"$1"/task/*/status; do
        awk -v tid="$(basename "$(dirname "$f")")" '/ctxt_switches/ {n += $2} END {print tid, n}' "$f" 2>/dev/null
    done
}
woken() { awk 'NR == FNR { before[$1] = $2; next } { n += $2 - before[$1] } END { print n + 0 }' <(echo "$1") <(echo "$2"); }
# Resident now and at its peak, in MiB.
memory() { awk '/VmRSS/ {r = $2} /VmHWM/ {h = $2} END {printf "%.1f %.1f", r / 1024, h / 1024}' "/proc/$1/status"; }

t0=$(cpu $tapetor); m0=$(cpu $minimal); ts0=$(switches $tapetor); ms0=$(switches $minimal)
sleep "$seconds"
t1=$(cpu $tapetor); m1=$(cpu $minimal); ts1=$(switches $tapetor); ms1=$(switches $minimal)
read -r idle_rss idle_hwm <<<"$(memory $tapetor)"

# The second run changes every minute: resident memory hidden after a change, once the
# bitmap is written and the next photo decoded for its texts (well before the next
# change's picture is decoded again, 20 s before it is due).
kill $tapetor && wait $tapetor 2>/dev/null || true
options 1
"$build/tapetor" >/dev/null 2>&1 &
tapetor=$!
pids+=($tapetor)
sleep 25
bmp=$build/tapetor.bmp
[[ -w $build ]] || bmp=$XDG_DATA_HOME/tapetor/tapetor.bmp
first=$(stat -c %Y "$bmp")
read -r before_rss before_hwm <<<"$(memory $tapetor)"
# From here the peak is the change's own, not the start-up's.
echo 5 >"/proc/$tapetor/clear_refs"
for _ in $(seq 120); do [[ $(stat -c %Y "$bmp") != "$first" ]] && break; sleep 1; done
[[ $(stat -c %Y "$bmp") != "$first" ]] || echo "no change came within two minutes" >&2
sleep 12
read -r after_rss after_hwm <<<"$(memory $tapetor)"
read -r min_rss min_hwm <<<"$(memory $minimal)"

awk -v t=$((t1 - t0)) -v m=$((m1 - m0)) -v hz="$ticks" -v s="$seconds" \
    -v tw="$(woken "$ts0" "$ts1")" -v mw="$(woken "$ms0" "$ms1")" \
    -v ir="$idle_rss" -v ih="$idle_hwm" -v br="$before_rss" -v bh="$before_hwm" -v ar="$after_rss" -v ah="$after_hwm" \
    -v mr="$min_rss" -v mh="$min_hwm" '
BEGIN {
    tms = t * 1000 / hz; mms = m * 1000 / hz
    printf "Idle in the tray for %d s over 45 MP photos (CPU time, wakeups, resident memory)\n", s
    printf "%-40s %9s %11s %9s %9s\n", "", "CPU ms", "wakeups/s", "RSS MiB", "peak MiB"
    printf "%-40s %9.0f %11.1f %9.1f %9.1f\n", "minimal Qt tray program", mms, mw / s, mr, mh
    printf "%-40s %9.0f %11.1f %9.1f %9.1f\n", "tapetor, a change every 60 minutes", tms, tw / s, ir, ih
    printf "%-40s %9s %11s %9.1f %9.1f\n", "tapetor, every minute, before a change", "", "", br, bh
    printf "%-40s %9s %11s %9.1f %9.1f\n", "tapetor, every minute, after a change", "", "", ar, ah
    # One decoded 8192 x 5464 photo at 4 bytes a pixel.
    printf "Peak of the hidden change above the resident before it: %.2f decoded pictures (target at most 1.3)\n", (ah - br) / (8192 * 5464 * 4 / 1048576)
    ratio = (mms > 0) ? tms / mms : 0
    printf "CPU ratio tapetor / minimal with a 1 s timer: %.2f (target at most 1)\n", ratio
    printf "tapetor wakeups: %.2f a second (target at most 1)\n", tw / s
    worst = (ir > br) ? ir : br; worst = (ar > worst) ? ar : worst
    printf "Resident while hidden: at most %.1f MiB (target at most 45)\n", worst
}'
