#!/bin/bash
# bench_window's figures on the desktops whose hand-over runs a tool beside the window:
# GNOME (real gsettings, dconf on a private session bus) and sway (swaybg on headless
# sway). bench/run.sh gives the same figures on the bare X root.
#
#   bench/window-desktops.sh [BUILD_DIR] [RUNS]      (defaults: build/, 5)
#
# bench_window's "hand-over alone" is the X root's; it is left out here.

set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/tests/desktop/lib.sh"

# Sway refuses to run as root: the script runs again as nobody for it.
if [[ ${1:-} == --sway ]]; then
    desktop_temp_home
    LOG=$T/desktop.log
    fail_with_log() { echo "FAIL: $1"; tail -n 20 "$LOG"; exit 1; }
    background() { "$@" >>"$LOG" 2>&1 & track_pid $!; }
    start_headless_sway
    QT_QPA_PLATFORM=wayland "$2" "$3" "$4" "$5"
    exit $?
fi

BUILD=$(realpath -m "${1:-$ROOT/build}")
RUNS=${2:-5}
ninja -C "$BUILD" -j2 bench_change bench_window >/dev/null || exit 1
desktop_need dbus-run-session gsettings /usr/libexec/dconf-service sway swaybg setpriv
desktop_temp_home
start_xvfb 1920x1080x24

# The photos, and a copy of the program, where nobody can read them.
OWN=$(mktemp -d /tmp/tapetor-bench.XXXXXX)
chmod 755 "$OWN"
cp "$BUILD/bench/bench_window" "$OWN/"
"$BUILD/bench/bench_change" make-photo "$OWN/photo-4k.jpg" 3840 2160 3000000 >/dev/null || exit 1
"$BUILD/bench/bench_change" make-photo "$OWN/photo-45mp.jpg" 8192 5464 14000000 >/dev/null || exit 1
chmod 644 "$OWN"/*.jpg

echo "== GNOME: gsettings on a private session bus"
dbus-run-session -- env XDG_CURRENT_DESKTOP=GNOME \
    "$OWN/bench_window" "$OWN/photo-4k.jpg" "$OWN/photo-45mp.jpg" "$RUNS" 2>/dev/null | grep -v '^Qt\|^the window\|hand-over alone'

echo "== sway: swaybg on headless sway"
chown nobody:nogroup "$OWN"
setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin TMPDIR="$OWN" \
    bash "$0" --sway "$OWN/bench_window" "$OWN/photo-4k.jpg" "$OWN/photo-45mp.jpg" "$RUNS" 2>/dev/null \
    | grep -v '^Qt\|^the window\|hand-over alone'
rm -rf "$OWN"
