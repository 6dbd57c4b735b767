#!/usr/bin/env bash
# The program as a Wayland client of headless sway, its icon in waybar's tray, a host
# that talks to it over D-Bus (StatusNotifierItem): the icon registers with the
# watcher, Activate brings the hidden window back, each item of the menu the icon
# exports acts, closing hides the window, "/startos" works beside the running copy, and
# Qt has nothing to say about placing the window. Headless sway has no input devices:
# the icon is driven over the bus, as the host would drive it.
set -u
TAPETOR=$1
export DESKTOP_SHOTS=$2
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
source "$HERE/app_lib.sh"

[[ $(id -u) -eq 0 ]] && as_nobody "$0" "$TAPETOR"

desktop_need sway waybar grim swaymsg gdbus dbus-launch /usr/bin/convert
desktop_temp_home
LOG=$T/desktop.log
: >"$LOG"
show_logs() {
    echo "--- sway, waybar:"; tail -n 30 "$LOG"
    echo "--- tapetor:"; cat "$T/tapetor.log" "$T/tapetor-run.log" 2>/dev/null
}
fail_with_log() {
    echo "FAIL: $1"; show_logs; exit 1
}
background() {
    "$@" >>"$LOG" 2>&1 &
    track_pid $!
}

# The Czech labels of the menu print as they are.
export LANG=C.UTF-8
eval "$(dbus-launch --sh-syntax)"
track_pid "$DBUS_SESSION_BUS_PID"
start_headless_sway

watcher() { # PROPERTY
    gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
        --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher "$1"
}
mkdir -p "$XDG_CONFIG_HOME/waybar"
echo '{"position": "top", "modules-right": ["tray"]}' >"$XDG_CONFIG_HOME/waybar/config"
background waybar
# Qt looks for the host once, when the icon is made: it must be there before the program.
wait_until '[[ $(watcher IsStatusNotifierHostRegistered) == "(<true>,)" ]]' 20 ||
    fail_with_log "waybar's tray did not register as a host"

# The bus name of our item, as the watcher lists it (":1.8/StatusNotifierItem").
item_name() {
    watcher RegisteredStatusNotifierItems | grep -o "'[^'/]*/StatusNotifierItem'" | cut -d/ -f1 | tr -d "'"
}
window_shown() {
    swaymsg -t get_tree | grep -q '"app_id": "tapetor"'
}
screen_pixel() { # [X Y]: a corner the window leaves free, unless given
    grim "$T/screen.png" && pixel_of "$T/screen.png" "${1:-40}" "${2:-740}"
}
changed_from() {
    [[ $(screen_pixel) != "$1" ]]
}
# menu_click LABEL: the menu's ids are not stable; they are looked up by the label.
menu_click() {
    local id
    id=$(gdbus call --session --dest "$ITEM" --object-path /MenuBar --method com.canonical.dbusmenu.GetLayout \
        -- 0 -1 '[]' | grep -o "([0-9]*, {[^}]*'label': <'$1'>" | cut -d, -f1 | tr -d '(')
    [[ -n $id ]] || { echo "FAIL: no menu item '$1'"; return 1; }
    gdbus call --session --dest "$ITEM" --object-path /MenuBar --method com.canonical.dbusmenu.Event \
        -- "$id" clicked '<0>' 0 >/dev/null
}
close_window() {
    swaymsg '[app_id=tapetor] kill' >/dev/null
    wait_until '! window_shown' 10
}

rgb_collection "$T/k.tkl"
# Changing is active, so the start goes to the tray; no timed change within the test.
write_settings "kolekce=$T/k.tkl" "run=1" "afterstart=False" "afterinterval=True" "interval=60"
export QT_QPA_PLATFORM=wayland
start_tapetor
wait_until '[[ -n $(item_name) ]]' 20 || fail_with_log "no item registered with the watcher"
ITEM=$(item_name)
check "window hidden in the tray" 1 "$(wait_until '! window_shown' 10 && echo 1 || echo 0)"
check "start-up change" 00FF00 "$(wait_until '[[ $(screen_pixel) == 00FF00 ]]' 10; screen_pixel)"

gdbus call --session --dest "$ITEM" --object-path /StatusNotifierItem --method org.kde.StatusNotifierItem.Activate \
    0 0 >/dev/null
check "Activate shows the window" 1 "$(wait_until window_shown 10 && echo 1 || echo 0)"
check "the window is drawn in the middle" 1 "$(wait_until '[[ $(screen_pixel 512 384) != 00FF00 ]]' 10 && echo 1 || echo 0)"
mkdir -p "$DESKTOP_SHOTS"
grim "$DESKTOP_SHOTS/sway-tray-restored.png"
check "closing hides the window" 1 "$(close_window && echo 1 || echo 0)"
check "the program goes on in the tray" 1 "$(tapetor_alive && echo 1 || echo 0)"

menu_click "zobrazit okno aplikace"
check "the menu shows the window" 1 "$(wait_until window_shown 10 && echo 1 || echo 0)"
check "closed again" 1 "$(close_window && echo 1 || echo 0)"
menu_click "změnit tapetu ihned"
check "the menu changes the wallpaper" 0000FF "$(wait_until 'changed_from 00FF00' 10; screen_pixel)"

# Another background first, so the change "/startos" makes is the one seen. It goes on
# after the third picture, which the menu showed: the first, then the second.
swaymsg output '*' bg '#445566' solid_color >/dev/null
wait_until '[[ $(screen_pixel) == 445566 ]]' 10
check "/startos beside the tray copy ends by itself" 0 "$(run_tapetor /startos)"
check "/startos changed" 00FF00 "$(wait_until 'changed_from 445566' 10; screen_pixel)"
check "the tray copy still runs" 1 "$(tapetor_alive && echo 1 || echo 0)"

menu_click "ukončit aplikaci"
check "the menu ends the program" 1 "$(wait_until '! tapetor_alive' 10 && echo 1 || echo 0)"
check "the item leaves the watcher" "" "$(wait_until '[[ -z $(item_name) ]]' 10; item_name)"
# Placing the window is the compositor's business; Qt warns when it is asked to.
check "no warnings from Qt's Wayland platform" "" "$(grep -ih 'wayland' "$T/tapetor.log" "$T/tapetor-run.log")"
(( DESKTOP_FAILED == 0 )) || show_logs
finish
