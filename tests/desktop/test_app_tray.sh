#!/usr/bin/env bash
# Automatic changes from the tray, the tray icon's double-click and its menu; one copy
# per user: a later start brings the running copy's window back, also after a crash.
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
rgb_collection "$T/k.tkl"
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
tray_menu_choose 2
check "menu change" 1 "$(wait_until "changed_from $settle" 3 && echo 1 || echo 0)"

tray_menu_choose 3
check "exit from the tray" 1 "$(wait_until '! tapetor_alive' 10 && echo 1 || echo 0)"
check "icon removed" 1 "$(wait_until '[[ -z $(tray_icon) ]]' 5 && echo 1 || echo 0)"

# No timed change from here on: every change seen is the one a start made. Which picture
# the timed changes left last depends on the machine's speed, so start-up begins afresh.
write_settings "kolekce=$T/k.tkl" "run=1" "afterstart=False" "afterinterval=True" "interval=60"
rm -rf "$HOME/.local/state/tapetor"
start_tapetor
check "again in the tray" 1 "$(wait_until '[[ -n $(tray_icon) && -z $(main_window) ]]' 20 && echo 1 || echo 0)"
# Start-up shows the second picture; "/startos" goes on after it, the third and then the first.
check "start-up change" "00FF00" "$(root_pixel 40 740)"
check "/startos beside the tray copy ends by itself" 0 "$(run_tapetor /startos)"
check "/startos changed" "FF0000" "$(root_pixel 40 740)"
check "tray copy still runs after /startos" 1 "$(tapetor_alive && echo 1 || echo 0)"

# As if it had run for a day: a long-running copy keeps its place.
touch -d '-1 day' "$XDG_RUNTIME_DIR"/tapetor-*.lock
check "a second start ends" 0 "$(run_tapetor)"
check "the running copy shows its window" 1 "$(wait_until '[[ -n $(main_window) ]]' 10 && echo 1 || echo 0)"
check "one icon in the tray" 1 "$(tray_icon_count)"
check "the running copy goes on" 1 "$(tapetor_alive && echo 1 || echo 0)"
save_root_shot second-start

# A crash leaves its lock and socket behind; the next start takes them over.
{ kill -9 "$TAPETOR_PID"; wait "$TAPETOR_PID"; } 2>/dev/null
check "socket left by the crash" 1 "$(compgen -G "$XDG_RUNTIME_DIR/tapetor-*.socket" >/dev/null && echo 1 || echo 0)"
check "icon gone with the crash" 1 "$(wait_until '[[ -z $(tray_icon) ]]' 10 && echo 1 || echo 0)"
start_tapetor
check "start after the crash docks" 1 "$(wait_until '[[ -n $(tray_icon) && -z $(main_window) ]]' 20 && echo 1 || echo 0)"
check "start after the crash keeps running" 1 "$(tapetor_alive && echo 1 || echo 0)"
check "it takes the next start over" 0 "$(run_tapetor)"
check "and shows its window" 1 "$(wait_until '[[ -n $(main_window) ]]' 10 && echo 1 || echo 0)"
check "one icon after the crash" 1 "$(tray_icon_count)"
finish
