#!/usr/bin/env bash
# The real program on an X server: the centred window, a double-click on its labels,
# closing into the tray with the settings written, and the uninstall switch.
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

# Red, green and blue pictures; sorted a, b, c. The start-up applies b and prepares c.
rgb_collection "$T/k.tkl"
write_settings "kolekce=$T/k.tkl" "v_stretch=True"
# A copy of the program, so its bitmap lands in a folder of the test's own.
mkdir -p "$T/program"
cp "$TAPETOR" "$T/program/tapetor"
TAPETOR=$T/program/tapetor
start_tapetor
wait_until '[[ -n $(main_window) ]]' 20 || { echo "no window"; cat "$T/tapetor.log"; exit 1; }
window=$(main_window)
# The window manager places the window after it is mapped.
centred() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    (( X + WIDTH / 2 > 492 && X + WIDTH / 2 < 532 && Y + HEIGHT / 2 > 364 && Y + HEIGHT / 2 < 414 ))
}
wait_until centred 5
eval "$(xdotool getwindowgeometry --shell "$window")"
# The frame adds a title bar above the client area; the window is centred as a whole.
check "window centred horizontally" 1 $(( X + WIDTH / 2 > 492 && X + WIDTH / 2 < 532 ? 1 : 0 ))
check "window centred vertically" 1 $(( Y + HEIGHT / 2 > 364 && Y + HEIGHT / 2 < 414 ? 1 : 0 ))
check "client area width" 490 "$WIDTH"
save_root_shot window-start
check "tray icon docked" 1 "$(wait_until '[[ -n $(tray_icon) ]]' 10 && echo 1 || echo 0)"

# A double-click on a clickable label is one click. On "změnit tapetu ihned" it makes one
# change (c), not a second one that would skip to a; in window coordinates (ui/frmConsole.ui).
wait_until changes_settled 20
check "the start-up change shows b" 00FF00 "$(root_pixel 5 5)"
xdotool mousemove --window "$window" 430 241 click --repeat 2 --delay 80 1
check "the double-click changes" 1 "$(wait_until '[[ $(root_pixel 5 5) != 00FF00 ]]' 10 && echo 1 || echo 0)"
# Both clicks read, then whatever they asked for done.
input_handled "$window" 432 292
wait_until changes_settled 20
check "a double-click changes once" 0000FF "$(root_pixel 5 5)"
tooltip_gone
# On "informace o aplikaci" it opens the about page and leaves it open: the label then
# reads "zavřít informace o aplikaci" in red, blue otherwise.
label14_red() {
    xwd -id "$window" -silent | /usr/bin/convert xwd:- -crop 220x18+262+4 -format '%[fx:mean.r > mean.b + 0.02 ? 1 : 0]' info:
}
check "the about link starts blue" 0 "$(label14_red)"
xdotool mousemove --window "$window" 372 13 click --repeat 2 --delay 80 1
check "a double-click opens the about page" 1 "$(wait_until '[[ $(label14_red) == 1 ]]' 10 && echo 1 || echo 0)"
# A second click taken as a click would have closed it again by the time the minimise
# icon's tooltip shows.
check "the input after the double-click was handled" 1 "$(input_handled "$window" 432 292 && echo 1 || echo 0)"
check "the about page stays open" 1 "$(label14_red)"
save_root_shot window-about-double-click
xdotool mousemove --window "$window" 372 13 click 1
check "a single click closes it" 1 "$(wait_until '[[ $(label14_red) == 0 ]]' 10 && echo 1 || echo 0)"

# openbox closes the focused window on Alt+F4, through the window's close request.
check "window hidden after close" 1 "$(press_until '[[ -z $(main_window) ]]' "$window" alt+F4 && echo 1 || echo 0)"
ini=$XDG_CONFIG_HOME/tapetor/tapetor.ini
check "settings written on close" 1 "$(wait_until "[[ -s '$ini' ]]" 10 && echo 1 || echo 0)"
check "interval stored" "interval=60" "$(grep -x 'interval=60' "$ini")"
check "program still running" 1 "$(tapetor_alive && echo 1 || echo 0)"
kill "$TAPETOR_PID"
wait "$TAPETOR_PID" 2>/dev/null

# The uninstall switch removes the settings and the autostart entry, after its message.
mkdir -p "$XDG_CONFIG_HOME/autostart"
printf '[Desktop Entry]\nType=Application\nName=tapetor\nExec=tapetor\n' >"$XDG_CONFIG_HOME/autostart/tapetor.desktop"
start_tapetor /uninstall
message_box() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$TAPETOR_PID" --name '^tapetor$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        # Neither the main window nor the 22-pixel tray icon.
        (( WIDTH != 490 && WIDTH > 40 )) && { echo "$id"; return 0; }
    done
    return 1
}
check "uninstall message shown" 1 "$(wait_until '[[ -n $(message_box) ]]' 20 && echo 1 || echo 0)"
save_root_shot uninstall-message
check "settings gone before the answer" 0 "$([[ -e $ini ]] && echo 1 || echo 0)"
check "process ended" 1 "$(close_message '! tapetor_alive' "$(message_box)" && echo 1 || echo 0)"
check "settings file gone" 0 "$([[ -e $ini ]] && echo 1 || echo 0)"
check "autostart entry gone" 0 "$([[ -e $XDG_CONFIG_HOME/autostart/tapetor.desktop ]] && echo 1 || echo 0)"
finish
