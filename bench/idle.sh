#!/usr/bin/env bash
# Idle cost in the tray: tapetor hidden with automatic changing on, beside a minimal Qt
# tray program with a 1 s timer, measured in the same run on the same private X server.
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

# A 3840 x 2160 picture in the preview, changing every 60 minutes: idle, not changing.
/usr/bin/convert -size 3840x2160 plasma:fractal -quality 90 "$work/photo.jpg"
printf '%s\r\n' "$work/photo.jpg" "$work/photo.jpg" >"$work/k.tkl"
printf '[options]\nkolekce=%s\nrun=1\nafterstart=False\nafterinterval=True\ninterval=60\n' "$work/k.tkl" \
    >"$XDG_CONFIG_HOME/tapetor/tapetor.ini"

"$build/tapetor" >/dev/null 2>&1 &
tapetor=$!
pids+=($tapetor)
"$build/bench/minimal_tray" 1000 >/dev/null 2>&1 &
minimal=$!
pids+=($minimal)
sleep 3

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
rss() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }

t0=$(cpu $tapetor); m0=$(cpu $minimal); ts0=$(switches $tapetor); ms0=$(switches $minimal)
sleep "$seconds"
t1=$(cpu $tapetor); m1=$(cpu $minimal); ts1=$(switches $tapetor); ms1=$(switches $minimal)

decoded_mib=$(( 3840 * 2160 * 4 / 1048576 ))
awk -v t=$((t1 - t0)) -v m=$((m1 - m0)) -v hz="$ticks" -v s="$seconds" \
    -v tw="$(woken "$ts0" "$ts1")" -v mw="$(woken "$ms0" "$ms1")" -v tr="$(rss $tapetor)" -v mr="$(rss $minimal)" -v dec="$decoded_mib" '
BEGIN {
    tms = t * 1000 / hz; mms = m * 1000 / hz
    printf "Idle in the tray for %d s (CPU time, wakeups, resident memory)\n", s
    printf "%-26s %12s %14s %12s\n", "", "CPU ms", "wakeups/s", "RSS MiB"
    printf "%-26s %12.0f %14.1f %12.1f\n", "minimal Qt tray program", mms, mw / s, mr / 1024
    printf "%-26s %12.0f %14.1f %12.1f\n", "tapetor", tms, tw / s, tr / 1024
    ratio = (mms > 0) ? tms / mms : 0
    printf "CPU ratio tapetor / minimal with a 1 s timer: %.2f (target at most 1)\n", ratio
    printf "tapetor wakeups: %.2f a second (target at most 1)\n", tw / s
    printf "RSS limit: 40 MiB + %d MiB decoded preview = %d MiB; tapetor uses %.1f MiB\n", dec, 40 + dec, tr / 1024
}'
