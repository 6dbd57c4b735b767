#!/usr/bin/env bash
# Automatic changes from the tray, the tray icon's double-click and its menu.
set -u
TAPETOR=$1
export DESKTOP_SHOTS=$2
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_lib.sh"
desktop_require Xvfb xdotool xwininfo openbox trayer xwd

desktop_temp_home
start_xvfb 1024x768x24
start_window_manager
start_tray
pictures=$T/obrazky
mkdir -p "$pictures"
solid_picture "$pictures/a.png" '#ff0000'
solid_picture "$pictures/b.png" '#00ff00'
solid_picture "$pictures/c.png" '#0000ff'
write_collection "$T/k.tkl" "$pictures/a.png" "$pictures/b.png" "$pictures/c.png"
# Every three seconds.
# Read away from the middle, where the restored window covers the desktop.
write_settings "kolekce=$T/k.tkl" "run=1" "afterstart=False" "afterinterval=True" "interval=0.05"

start_tapetor
check "icon docked" 1 "$(wait_until '[[ -n $(tray_icon) ]]' 20 && echo 1 || echo 0)"
check "window hidden in the tray" 1 "$(wait_until '[[ -z $(main_window) ]]' 10 && echo 1 || echo 0)"
first=$(root_pixel 40 740)
changed_from() { [[ $(root_pixel 40 740) != "$1" ]]; }
check "a timed change" 1 "$(wait_until "changed_from $first" 10 && echo 1 || echo 0)"
second=$(root_pixel 40 740)
check "another timed change" 1 "$(wait_until "changed_from $second" 10 && echo 1 || echo 0)"
# Stopped past its due moment, as in a suspend: the change is made as soon as it runs.
kill -STOP "$TAPETOR_PID"
sleep 5
stopped=$(root_pixel 40 740)
kill -CONT "$TAPETOR_PID"
check "an overdue change at once" 1 "$(wait_until "changed_from $stopped" 2 && echo 1 || echo 0)"
resumed=$(root_pixel 40 740)
check "timed changes go on" 1 "$(wait_until "changed_from $resumed" 10 && echo 1 || echo 0)"

icon=$(tray_icon)
xdotool mousemove --window "$icon" 5 5 click --repeat 2 --delay 80 1
check "double-click shows the window" 1 "$(wait_until '[[ -n $(main_window) ]]' 10 && echo 1 || echo 0)"
save_root_shot tray-restored

# Long enough before the next timed change that the menu's change is the one seen.
settle=$(root_pixel 40 740)
xdotool mousemove --window "$icon" 5 5 click 3
sleep 0.4
xdotool key Down
sleep 0.2
xdotool key Down
sleep 0.2
xdotool key Return
check "menu change" 1 "$(wait_until "changed_from $settle" 3 && echo 1 || echo 0)"

xdotool mousemove --window "$icon" 5 5 click 3
sleep 0.4
for _ in 1 2 3; do xdotool key Down; sleep 0.2; done
xdotool key Return
check "exit from the tray" 1 "$(wait_until '! tapetor_alive' 10 && echo 1 || echo 0)"
check "icon removed" 1 "$(wait_until '[[ -z $(tray_icon) ]]' 5 && echo 1 || echo 0)"
finish
