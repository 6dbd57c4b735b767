#!/usr/bin/env bash
# Builds tapetor and starts it. Without a display it starts it on a virtual X display,
# saves a screenshot of the window and prints the screenshot's path.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" build run
"$top/scripts/build.sh" "$top/build" tapetor

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$top/build/tapetor" "$@"
fi

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
pids=("$xvfb")
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
export DISPLAY=$display DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 & pids+=($!)
trayer --edge top --align right --widthtype request --height 24 --SetDockType true >/dev/null 2>&1 & pids+=($!)
"$top/build/tapetor" "$@" & pids+=($!)
for _ in $(seq 100); do xdotool search --name '^tapetor$' >/dev/null 2>&1 && break; sleep 0.1; done
sleep 1
shot="$top/build/screenshot.png"
xwd -root -silent | /usr/bin/convert xwd:- "$shot"
echo "The window runs on a virtual display; its screenshot: $shot"
