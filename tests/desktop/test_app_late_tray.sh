#!/usr/bin/env bash
# Started at logon before the panel: the window stays reachable while there is no tray,
# and the icon docks once a tray appears.
set -u
TAPETOR=$1
export DESKTOP_SHOTS=$2
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_lib.sh"
desktop_require Xvfb xdotool xwininfo openbox trayer xprop

desktop_temp_home
start_xvfb 1024x768x24
start_window_manager
pictures=$T/obrazky
mkdir -p "$pictures"
solid_picture "$pictures/a.png" '#ff0000'
solid_picture "$pictures/b.png" '#00ff00'
write_collection "$T/k.tkl" "$pictures/a.png" "$pictures/b.png"
write_settings "kolekce=$T/k.tkl" "run=1" "afterstart=False" "afterinterval=True" "interval=60"

start_tapetor
# Without a tray the window is minimised, not hidden: the window manager still lists it.
listed() {
    local id
    for id in $(xdotool search --pid "$TAPETOR_PID" --name '^tapetor$' 2>/dev/null); do
        xprop -id "$id" WM_STATE 2>/dev/null | grep -q 'Iconic' && return 0
    done
    return 1
}
check "window minimised, still reachable" 1 "$(wait_until listed 20 && echo 1 || echo 0)"
check "program running" 1 "$(tapetor_alive && echo 1 || echo 0)"

start_tray
check "icon docks once the tray is there" 1 "$(wait_until '[[ -n $(tray_icon) ]]' 20 && echo 1 || echo 0)"
icon=$(tray_icon)
xdotool mousemove --window "$icon" 5 5 click --repeat 2 --delay 80 1
check "double-click shows the window" 1 "$(wait_until '[[ -n $(main_window) ]]' 10 && echo 1 || echo 0)"
finish
