#!/usr/bin/env bash
# The Windows program as users unpack it, under Wine on a private X server with a window
# manager and a tray: the window, the settings page writing the registry and the Run
# value, "/startos", a second start, the tray menu, a change at its moment while hidden,
# and "/uninstall". The registry is read from outside with Wine's own reg.exe.
# Usage: test_app_wine.sh PROGRAM_FOLDER SHOTS_FOLDER   (WINEPREFIX: a prepared prefix)
set -u
STAGE=$1
export DESKTOP_SHOTS=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../desktop/lib.sh"
desktop_require Xvfb wine
desktop_need xdotool xwininfo openbox trayer xwd iconv

prefix=${WINEPREFIX:?a prepared Wine prefix}
desktop_temp_home
export WINEPREFIX=$prefix WINEDEBUG=-all
# The server of an earlier run knows no display; this run's windows need one.
wineserver -k 2>/dev/null
start_xvfb 1024x768x24
start_window_manager
start_tray
trap 'wineserver -k 2>/dev/null; desktop_cleanup' EXIT

# A copy of the program, so that its bitmap lands in a folder of the test's own.
cp -r "$STAGE" "$T/program"
program=$T/program/tapetor.exe
bitmap=$T/program/tapetor.bmp
windows_path() { echo "Z:${1//\//\\}"; }

TAPETOR_PID=""
start_tapetor() {
    wine "$program" "$@" </dev/null >>"$T/tapetor.log" 2>&1 &
    TAPETOR_PID=$!
    track_pid "$TAPETOR_PID"
}
tapetor_alive() { kill -0 "$TAPETOR_PID" 2>/dev/null; }
# check_ended NAME STATUS [SECONDS]: the program ends by itself, with STATUS.
check_ended() {
    local status="still running"
    if wait_until '! tapetor_alive' "${3:-30}"; then
        wait "$TAPETOR_PID"
        status=$?
    fi
    check "$1" "$2" "$status"
}
# The main window: titled "tapetor", its client area 490 pixels wide.
main_window() {
    local id
    for id in $(xdotool search --onlyvisible --name '^tapetor$' 2>/dev/null); do
        [[ $(xwininfo -id "$id" 2>/dev/null | awk '/Width:/ {print $2}') == 490 ]] && { echo "$id"; return 0; }
    done
    return 1
}
# Any other visible window titled "tapetor": a message box.
message_box() {
    local id
    for id in $(xdotool search --onlyvisible --name '^tapetor$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        (( WIDTH != 490 && WIDTH > 40 )) && { echo "$id"; return 0; }
    done
    return 1
}
# Wine docks each tray icon into the tray's panel as a window of its explorer.exe.
tray_icon() {
    local tray
    for tray in $(xdotool search --class trayer 2>/dev/null); do
        xwininfo -tree -id "$tray" 2>/dev/null | awk '/\("explorer.exe" / {print $1; found = 1; exit} END {exit !found}' && return 0
    done
    return 1
}
click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# reg.exe prints "    NAME    TYPE    DATA" in the OEM code page (852 for Czech).
reg_value() {
    wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' | iconv -f CP852 -t UTF-8 \
        | sed -n "s/^    $2    REG_[A-Z_]*    //p"
}
reg_has_key() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
options='HKCU\Software\tapetor\options'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
desktop='HKCU\Control Panel\Desktop'
desktop_style() { echo "$(reg_value "$desktop" WallpaperStyle) $(reg_value "$desktop" TileWallpaper)"; }
# set_options NAME=VALUE ...: the options as a fresh settings tree.
set_options() {
    local pair
    wine reg delete 'HKCU\Software\tapetor' /f </dev/null >/dev/null 2>&1
    for pair in "$@"; do
        wine reg add "$options" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f </dev/null >/dev/null 2>&1
    done
}

# The bitmap's colour at its centre, once it has stopped changing.
bitmap_colour() {
    [[ -s $bitmap ]] && /usr/bin/convert "bmp:$bitmap" -gravity center -crop 1x1+0+0 -format '%[hex:p{0,0}]' info: 2>/dev/null | cut -c1-6
}

# Two PNG photos and a JPEG, sorted: a (green, JPEG), b (red), c (blue).
pictures=$T/obrazky
mkdir -p "$pictures"
/usr/bin/convert -size 64x48 xc:'#00ff00' -quality 100 "$pictures/a.jpg"
/usr/bin/convert -size 64x48 xc:'#ff0000' "$pictures/b.png"
/usr/bin/convert -size 64x48 xc:'#0000ff' "$pictures/c.png"
collection=$T/kolekce.tkl
printf '%s\r\n' "$(windows_path "$pictures/a.jpg")" "$(windows_path "$pictures/b.png")" \
    "$(windows_path "$pictures/c.png")" >"$collection"
wine reg delete "$run_key" /v tapetor /f </dev/null >/dev/null 2>&1

# --- "/startos": two changes in the sorted order, the options saved, the end.
set_options "kolekce=$(windows_path "$collection")" run=1 afterstart=True v_center=True
start_tapetor /startos
check_ended "/startos ends with 0" 0 60
check "/startos: the wallpaper names the bitmap" "$(windows_path "$bitmap")" "$(reg_value "$desktop" Wallpaper)"
check "/startos: centred, not tiled" "0 0" "$(desktop_style)"
# Start-up makes b current; the two changes apply b, then c.
check "/startos: the second change shows c" 0000FF "$(bitmap_colour)"
check "/startos: options saved" 3 "$(reg_value 'HKCU\Software\tapetor\uss3' major)"

# --- the window: centred, titled, its Czech texts drawn; the tray icon.
set_options "kolekce=$(windows_path "$collection")" run=0 afterstart=True v_cascade=True
start_tapetor
wait_until main_window 30 || { echo "no window"; cat "$T/tapetor.log"; exit 1; }
window=$(main_window)
# The frame adds a title bar above the client area; the window is centred as a whole.
read -r X Y < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {print x, $NF}')
check "window centred horizontally" 1 $(( X + 245 > 492 && X + 245 < 532 ? 1 : 0 ))
check "window centred vertically" 1 $(( Y + 162 > 364 && Y + 162 < 414 ? 1 : 0 ))
check "window title" tapetor "$(xdotool getwindowname "$window")"
check "the start-up change tiles" "0 1" "$(wait_until '[[ $(desktop_style) == "0 1" ]]' 10; desktop_style)"
check "tray icon docked" 1 "$(wait_until tray_icon 15 && echo 1 || echo 0)"
# It goes on after c, the last picture "/startos" showed, and wraps to a.
check "the start-up change shows a, the JPEG" 00FF "$(bitmap_colour | cut -c1-4)"
save_root_shot wine-window

# --- the settings page: "uložit" writes the options and the Run value in both forms.
open_settings() { click_at "$window" 100 179; }
save_settings() { click_at "$window" 353 311; }
open_settings
click_at "$window" 20 225 # Check1 "spuštět tapetor po spuštění počítače"
save_settings
quoted=\"$(windows_path "$program")\"
check "Run value after start" "$quoted /startos" \
    "$(wait_until '[[ -n $(reg_value "$run_key" tapetor) ]]' 10; reg_value "$run_key" tapetor)"
check "options stored: after start" True "$(reg_value "$options" afterstart)"
check "options stored: interval" 60 "$(reg_value "$options" interval)"
check "options stored: the collection" "$(windows_path "$collection")" "$(reg_value "$options" kolekce)"
open_settings
click_at "$window" 250 115 # Option3 "každých"
save_settings
check "Run value at an interval" "$quoted" \
    "$(wait_until '[[ $(reg_value "$run_key" tapetor) == "$quoted" ]]' 10; reg_value "$run_key" tapetor)"
open_settings
click_at "$window" 20 225
save_root_shot wine-settings
save_settings
check "Run value removed" 0 "$(wait_until '! reg_value "$run_key" tapetor | grep -q .' 10; reg_value "$run_key" tapetor | grep -c .)"

# --- a second plain start brings the first copy's window up and ends.
key_to "$window" alt+F4
check "the window hides on close" 1 "$(wait_until '! main_window' 10 && echo 1 || echo 0)"
first=$TAPETOR_PID
start_tapetor
check_ended "a second start ends with 0" 0
check "the first copy shows its window" 1 "$(wait_until main_window 10 && echo 1 || echo 0)"
kill "$first"; wait "$first" 2>/dev/null

# --- hidden in the tray, a change comes at its moment (every three seconds).
set_options "kolekce=$(windows_path "$collection")" run=1 afterinterval=True interval=0,05 v_stretch=True
start_tapetor
wait_until tray_icon 30
check "with changes at an interval the window goes to the tray" 1 "$(wait_until '! main_window' 5 && echo 1 || echo 0)"
before=$(bitmap_colour)
check "a change at its moment" 1 "$(wait_until '[[ $(bitmap_colour) != "$before" ]]' 20 && echo 1 || echo 0)"
check "stretched" "2 0" "$(wait_until '[[ $(desktop_style) == "2 0" ]]' 10; desktop_style)"
kill "$TAPETOR_PID"; wait "$TAPETOR_PID" 2>/dev/null

# --- "/uninstall": the settings and the Run value go, a message, the end.
wine reg add "$run_key" /v tapetor /t REG_SZ /d "$quoted" /f </dev/null >/dev/null 2>&1
start_tapetor /uninstall
check "uninstall message shown" 1 "$(wait_until message_box 30 && echo 1 || echo 0)"
save_root_shot wine-uninstall
check "the settings key is gone" 0 "$(reg_has_key 'HKCU\Software\tapetor' && echo 1 || echo 0)"
check "the Run value is gone" "" "$(reg_value "$run_key" tapetor)"
key_to "$(message_box)" Return
check_ended "uninstall ends" 0

# --- the tray menu. Wine's icon in the X server's tray (trayer) is drawn blank and is
# handed no clicks, so this part runs in Wine's own desktop, whose taskbar holds the
# tray: one icon at its right end, the menu opening upwards from the pointer.
wineserver -k 2>/dev/null
wineserver -w
set_options "kolekce=$(windows_path "$collection")" run=0 afterstart=True v_center=True
# Without a bitmap the start-up change is seen to end: its bitmap appears, then the
# desktop draws it at the centre. The desktop's redraw closes a menu open at that moment.
rm -f "$bitmap"
wine explorer /desktop=shell,1024x768 "$program" </dev/null >>"$T/tapetor.log" 2>&1 &
track_pid $!
background=$(wait_until '[[ -n $(root_pixel 5 5) ]]' 20; root_pixel 5 5)
# A point of the window away from the screen's centre, where Wine's desktop draws the
# wallpaper. (A window hidden there stays drawn until something else is, so only its
# showing can be seen.)
window_shown() { [[ $(root_pixel 300 300) != "$background" ]]; }
check "in Wine's desktop the window shows" 1 "$(wait_until window_shown 30 && echo 1 || echo 0)"
start_up_drawn() { [[ -n $(bitmap_colour) && $(root_pixel 512 384) == "$(bitmap_colour)" ]]; }
check "in Wine's desktop the start-up change is drawn" 1 "$(wait_until start_up_drawn 30 && echo 1 || echo 0)"
# tray_menu_item Y: the icon's menu by the right button, then the item at height Y,
# clicked once the pointer over it has lit it up (a click at once is lost at times).
# An item that does not light up belongs to a menu already closed: it is opened again,
# as a user would.
tray_menu_item() {
    local unlit attempt
    for attempt in 1 2 3; do
        xdotool mousemove 1013 757 click 3
        # The menu is drawn whole, from its first item to its last.
        wait_until '[[ $(root_pixel 924 680) != "$background" && $(root_pixel 924 752) != "$background" ]]' 10 || continue
        save_root_shot wine-tray-menu
        unlit=$(root_pixel 860 "$1")
        xdotool mousemove 924 "$1"
        if wait_until '[[ $(root_pixel 860 "$1") != "$unlit" ]]' 5; then
            xdotool click 1
            return 0
        fi
        echo "tray menu: attempt $attempt, the item did not light up" >&2
    done
    return 1
}
before=$(bitmap_colour)
check "tray: the menu opens" 1 "$(tray_menu_item 712 && echo 1 || echo 0)" # "změnit tapetu ihned"
check "tray: change now" 1 "$(wait_until '[[ $(bitmap_colour) != "$before" ]]' 15 && echo 1 || echo 0)"
check "tray: the menu opens again" 1 "$(tray_menu_item 742 && echo 1 || echo 0)" # "ukončit aplikaci"
# Wine runs the program as a process of that name; the desktop's own names it as an argument.
check "tray: the program ends" 1 "$(wait_until "! pgrep -f '^$program'" 15 && echo 1 || echo 0)"
finish
