#!/usr/bin/env bash
# The collection editor of the real program with Qt's own file dialogs: a new
# collection from the start page, pictures added by typing their paths (several
# quoted names at once, then one full path), saved under a typed name without its
# extension and, a second time, under the name the save dialog proposes; the files'
# bytes are checked on disk. Last, the first file is opened again for editing and the
# page is kept as a screenshot (editor-page.png) with its first picture in the preview.
#
#   test_editor_dialog.sh TAPETOR SHOTS_FOLDER
set -u
TAPETOR=$1
export DESKTOP_SHOTS=${2:-}
source "$(dirname "$0")/lib.sh"
desktop_require Xvfb xdotool xdpyinfo xprop xwininfo openbox xwd /usr/bin/convert

export LC_ALL=C.UTF-8
desktop_temp_home
start_xvfb 1024x768x24
start_window_manager

OBR=$T/obr
WORK=$T/work
mkdir -p "$OBR/sub" "$WORK"
/usr/bin/convert -size 64x48 xc:red "$OBR/a.png"
/usr/bin/convert -size 640x480 gradient:lime-navy "$OBR/B.png"
/usr/bin/convert -size 800x600 radial-gradient:yellow-blue "$OBR/c d.png"
/usr/bin/convert -size 64x48 xc:yellow "$OBR/sub/z.png"

# Where the controls are in the window's client area (ui/frmConsole.ui): the
# start page's "vytvořit novou kolekci tapet" and "otevřít a upravit existující
# kolekci tapet", and on the editor page (at 8,64) "přidat tapety do kolekce",
# "uložit kolekci do souboru" and the middle of the preview.
NEW_AT=(84 79)
OPEN_AT=(84 129)
ADD_AT=(32 96)
SAVE_AT=(32 254)
PREVIEW_AT=(354 128)
THIRD_ENTRY_AT=(80 139)

(cd "$WORK" && exec "$TAPETOR") >"$T/tapetor.log" 2>&1 &
APP=$!
track_pid "$APP"

# window_named REGEX: the visible window whose title matches; the display is ours
# alone. (This xdotool ORs --pid with --name, so the name is the only filter.)
window_named() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# The main window, once it stands centred on the screen.
main_window() {
    local id X Y WIDTH HEIGHT SCREEN WINDOW
    for id in $(xdotool search --onlyvisible --name '^tapetor$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        if (( WIDTH == 490 && X + WIDTH / 2 > 492 && X + WIDTH / 2 < 532 )); then
            echo "$id"
            return 0
        fi
    done
    return 1
}

click_in() { # WINDOW X Y
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# type_into WINDOW TEXT: focuses the dialog and types into its focused field.
type_into() {
    xdotool windowactivate --sync "$1" 2>/dev/null
    xdotool type --delay 15 "$2"
}

# accept_dialog WINDOW: Return, again if a completion list took the first one.
accept_dialog() {
    local id=$1 try
    for try in 1 2 3; do
        xdotool windowactivate --sync "$id" 2>/dev/null
        xdotool key Return
        wait_until "! xdotool getwindowname $id" 5 && return 0
    done
    return 1
}

wait_for_window() { # REGEX SECONDS
    wait_until "[[ -n \$(window_named '$1') ]]" "$2" && window_named "$1"
}

# The file's bytes as hex, for an exact comparison.
hex_of() {
    od -An -v -tx1 "$1" | tr -d ' \n'
}
expected_hex() { # ENTRY...: CR LF after each
    printf '%s\r\n' "$@" | od -An -v -tx1 | tr -d ' \n'
}

if ! wait_until '[[ -n $(main_window) ]]' 20; then
    echo "no main window"; cat "$T/tapetor.log"; exit 1
fi
MAIN=$(main_window)

# --- a new collection: several files at once, then one more by its full path
click_in "$MAIN" "${NEW_AT[@]}"
click_in "$MAIN" "${ADD_AT[@]}"
OPEN=$(wait_for_window '^(Open|Otevřít)$' 10)
check "add dialog opened" 1 "$([[ -n $OPEN ]] && echo 1 || echo 0)"
type_into "$OPEN" "\"$OBR/c d.png\" \"$OBR/a.png\" \"$OBR/B.png\""
check "add dialog accepted several names" 1 "$(accept_dialog "$OPEN" && echo 1 || echo 0)"

click_in "$MAIN" "${ADD_AT[@]}"
OPEN=$(wait_for_window '^(Open|Otevřít)$' 10)
type_into "$OPEN" "$OBR/sub/z.png"
check "add dialog accepted one path" 1 "$(accept_dialog "$OPEN" && echo 1 || echo 0)"
save_root_shot editor-added

# --- saved under a typed name: the dialog adds the extension
click_in "$MAIN" "${SAVE_AT[@]}"
SAVE=$(wait_for_window '^Ulo[^ ]* kolekci tapet$' 10)
check "save dialog opened with its title" 1 "$([[ -n $SAVE ]] && echo 1 || echo 0)"
xdotool windowactivate --sync "$SAVE" 2>/dev/null
xdotool key ctrl+a
type_into "$SAVE" "$WORK/moje"
accept_dialog "$SAVE"
INFO=$(wait_for_window '^Informace$' 10)
check "information message after saving a new collection" 1 "$([[ -n $INFO ]] && echo 1 || echo 0)"
save_root_shot editor-saved-message
accept_dialog "$INFO"
check "typed name saved with .tkl" 1 "$([[ -f $WORK/moje.tkl ]] && echo 1 || echo 0)"
check "sorted entries, CR LF after each" \
    "$(expected_hex "$OBR/a.png" "$OBR/B.png" "$OBR/c d.png" "$OBR/sub/z.png")" "$(hex_of "$WORK/moje.tkl")"

# --- a second new collection, saved under the proposed name
click_in "$MAIN" "${NEW_AT[@]}"
click_in "$MAIN" "${ADD_AT[@]}"
OPEN=$(wait_for_window '^(Open|Otevřít)$' 10)
type_into "$OPEN" "$OBR/B.png"
accept_dialog "$OPEN"
click_in "$MAIN" "${SAVE_AT[@]}"
SAVE=$(wait_for_window '^Ulo[^ ]* kolekci tapet$' 10)
accept_dialog "$SAVE"
INFO=$(wait_for_window '^Informace$' 10)
accept_dialog "$INFO"
mapfile -t proposed < <(find "$T" -name 'nová_kolekce.tkl')
check "one file under the proposed name" 1 "${#proposed[@]}"
if (( ${#proposed[@]} == 1 )); then
    check "proposed file's bytes" "$(expected_hex "$OBR/B.png")" "$(hex_of "${proposed[0]}")"
fi
# --- the first collection opened for editing: its first entry in the preview
click_in "$MAIN" "${OPEN_AT[@]}"
OPEN=$(wait_for_window '^Otev[^ ]* kolekci$' 10)
check "open dialog opened with its title" 1 "$([[ -n $OPEN ]] && echo 1 || echo 0)"
type_into "$OPEN" "$WORK/moje.tkl"
accept_dialog "$OPEN"
eval "$(xwininfo -id "$MAIN" | awk '/Absolute upper-left X/ {print "LEFT=" $4} /Absolute upper-left Y/ {print "TOP=" $4}')"
preview_red() {
    [[ $(root_pixel $(( LEFT + PREVIEW_AT[0] )) $(( TOP + PREVIEW_AT[1] ))) == FF0000 ]]
}
check "first picture in the preview" 1 "$(wait_until preview_red 10 && echo 1 || echo 0)"
# A click on the third entry ("c d.png", yellow in its middle) brings its picture.
preview_yellow() {
    local colour
    colour=$(root_pixel $(( LEFT + PREVIEW_AT[0] )) $(( TOP + PREVIEW_AT[1] )))
    (( 16#${colour:0:2} > 0xE0 && 16#${colour:2:2} > 0xE0 && 16#${colour:4:2} < 0x40 ))
}
click_in "$MAIN" "${THIRD_ENTRY_AT[@]}"
check "clicked picture in the preview" 1 "$(wait_until preview_yellow 10 && echo 1 || echo 0)"
save_root_shot editor-page

check "program still running" 1 "$(kill -0 "$APP" 2>/dev/null && echo 1 || echo 0)"
finish
