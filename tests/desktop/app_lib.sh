# Helpers for driving the real tapetor binary on the private display (after lib.sh).

TAPETOR_PID=""

# start_tapetor [ARGS...]: starts the program in the background; its PID in TAPETOR_PID.
# Its log tells when changes are asked for and when they are over (changes_settled).
start_tapetor() {
    QT_LOGGING_RULES="tapetor.changes.debug=true" "$TAPETOR" "$@" >"$T/tapetor.log" 2>&1 &
    TAPETOR_PID=$!
    track_pid "$TAPETOR_PID"
}

# changes_settled: every change asked of the program so far has reached the desktop, and
# none waits to start.
changes_settled() {
    [[ $(grep '^tapetor.changes: ' "$T/tapetor.log" | tail -n 1) == 'tapetor.changes: idle' ]]
}

tapetor_alive() {
    kill -0 "$TAPETOR_PID" 2>/dev/null
}

# The visible main window: titled "tapetor" and 490 pixels wide (the docked tray icon
# carries the same name).
main_window() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$TAPETOR_PID" --name '^tapetor$' 2>/dev/null); do
        if [[ $(xwininfo -id "$id" 2>/dev/null | awk '/Width:/ {print $2}') == 490 ]]; then
            echo "$id"
            return 0
        fi
    done
}

# The docked tray icon: a window of ours somewhere inside the tray's panel (trayer's
# panel has the class "trayer"; the icon's own window carries our class).
tray_icon() {
    local tray icon
    for tray in $(xdotool search --class trayer 2>/dev/null); do
        icon=$(xwininfo -tree -id "$tray" 2>/dev/null | awk '/\("tapetor" "tapetor"\)/ {print $1; exit}')
        if [[ -n $icon ]]; then
            echo "$(( icon ))"
            return 0
        fi
    done
    return 1
}

# How many icons of ours the tray holds.
tray_icon_count() {
    local tray count=0
    for tray in $(xdotool search --class trayer 2>/dev/null); do
        count=$(( count + $(xwininfo -tree -id "$tray" 2>/dev/null | grep -c '("tapetor" "tapetor")') ))
    done
    echo "$count"
}

# popup_window TYPE: the program's shown window of that kind (MENU or TOOLTIP) that no
# window manager handles. The tray icon is such a window too, but it sits inside the
# tray rather than on the root, and Qt marks a tooltip, not a menu, with its type.
popup_window() {
    local id kind
    for id in $(xdotool search --onlyvisible --pid "$TAPETOR_PID" 2>/dev/null); do
        xwininfo -tree -id "$id" 2>/dev/null | grep -q 'Parent window id: .*(the root window)' || continue
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
        kind=MENU
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_TOOLTIP && kind=TOOLTIP
        [[ $kind == "$1" ]] && { echo "$id"; return 0; }
    done
    return 1
}

tray_menu() { popup_window MENU; }

# input_handled WINDOW X Y: waits until the program has handled every key and click sent
# to it so far. The pointer moves onto a control with a tooltip at X,Y (window
# coordinates); the program reads its input in order, so the tooltip shows only after
# all that came before.
input_handled() {
    xdotool mousemove --window "$1" "$2" "$3"
    wait_until 'popup_window TOOLTIP >/dev/null' 10
}

# tooltip_gone: the pointer leaves for the screen's corner and the tooltip closes, so that
# the next input_handled waits for a tooltip of its own.
tooltip_gone() {
    xdotool mousemove 0 0
    wait_until '! popup_window TOOLTIP' 20
}

# tray_menu_choose N: opens the menu from the icon and clicks its N-th item of three
# ("zobrazit okno aplikace", "změnit tapetu ihned", a separator, "ukončit aplikaci"),
# once the menu is there to take the click; fails when it does not open.
tray_menu_choose() {
    local menu X Y WIDTH HEIGHT
    local -a share=(0 16 45 84) # per cent of the menu's height, the middle of each item
    xdotool mousemove --window "$(tray_icon)" 5 5 click 3
    wait_until '[[ -n $(tray_menu) ]]' 10 || return 1
    menu=$(tray_menu)
    eval "$(xdotool getwindowgeometry --shell "$menu")"
    xdotool mousemove "$(( X + WIDTH / 2 ))" "$(( Y + HEIGHT * share[$1] / 100 ))" click 1
}

# run_tapetor [ARGS...]: a start that is to end by itself; prints its exit status.
run_tapetor() {
    timeout 30 "$TAPETOR" "$@" >>"$T/tapetor-run.log" 2>&1
    echo $?
}

# write_settings KEY=VALUE ...: the options section of a fresh settings file.
write_settings() {
    mkdir -p "$XDG_CONFIG_HOME/tapetor"
    {
        echo "[options]"
        printf '%s\n' "$@"
    } >"$XDG_CONFIG_HOME/tapetor/tapetor.ini"
}

# solid_picture FILE COLOUR [WxH]
solid_picture() {
    /usr/bin/convert -size "${3:-64x48}" "xc:$2" "$1"
}

# write_collection FILE PATH...: CR LF after every entry.
write_collection() {
    local file=$1
    shift
    printf '%s\r\n' "$@" >"$file"
}

# rgb_collection FILE: red, green and blue pictures a, b, c (sorted so) in $pictures,
# and the collection FILE of them.
rgb_collection() {
    pictures=$T/obrazky
    mkdir -p "$pictures"
    solid_picture "$pictures/a.png" '#ff0000'
    solid_picture "$pictures/b.png" '#00ff00'
    solid_picture "$pictures/c.png" '#0000ff'
    write_collection "$1" "$pictures/a.png" "$pictures/b.png" "$pictures/c.png"
}

# close_message CONDITION BOX: the message's button pressed by Return, as a user would,
# and CONDITION then holds.
close_message() {
    key_to "$2" Return && wait_until "$1" 5
}

# press_until CONDITION WINDOW KEY: KEY in WINDOW, after which CONDITION holds.
press_until() {
    key_to "$2" "$3" && wait_until "$1" 5
}
