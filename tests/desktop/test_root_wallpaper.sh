#!/bin/bash
# The wallpaper on the root window of a bare X server: the three styles, a changed
# picture under the same bitmap name, one retained pixmap after many changes, a stale
# pixmap id left by another setter, a connection refused and killed, and two monitors.
#
#   test_root_wallpaper.sh APPLY_WALLPAPER SHOTS_FOLDER

APPLY=$1
DESKTOP_SHOTS=${2:-}
source "$(dirname "$0")/lib.sh"

desktop_require Xvfb
desktop_need xwd xdpyinfo xprop xkill xrestop xrandr /usr/bin/convert
desktop_temp_home
start_xvfb 1024x768x24
start_window_manager

BIN=$T/bin
mkdir -p "$BIN"
BMP=$BIN/tapetor.bmp
A=$T/quadrants-a.png
B=$T/quadrants-b.png
# 300 x 200, four solid quadrants; B has them the other way round.
/usr/bin/convert -size 300x200 xc:black \
    -fill red -draw 'rectangle 0,0 149,99' -fill lime -draw 'rectangle 150,0 299,99' \
    -fill blue -draw 'rectangle 0,100 149,199' -fill yellow -draw 'rectangle 150,100 299,199' "$A"
/usr/bin/convert "$A" -rotate 180 "$B"

RED=FF0000 LIME=00FF00 BLUE=0000FF YELLOW=FFFF00 BLACK=000000

apply() { # PICTURE STYLE [REPEAT OTHER]
    "$APPLY" "$1" "$2" "$BMP" "${@:3}"
}

shot_after() { # NAME PICTURE STYLE: apply, then keep the root window as NAME
    check "$1: change accepted" 0 "$(apply "$2" "$3"; echo $?)"
    save_root_shot "$1"
    SHOT=$DESKTOP_SHOTS/$1.png
}

# --- center: picture in the middle, black around ((1024-300)/2 = 362, (768-200)/2 = 284)
shot_after root-center "$A" 0
check_pixels center "$SHOT" "0 0 $BLACK" "361 284 $BLACK" "362 284 $RED" "511 383 $RED" \
    "512 284 $LIME" "362 483 $BLUE" "661 483 $YELLOW" "662 483 $BLACK" "661 484 $BLACK" \
    "1023 767 $BLACK"
check "bitmap is 24-bit" 24 "$(od -An -tu2 -j28 -N2 "$BMP" | tr -d ' ')"

# --- stretch: the whole screen, quadrants 512 x 384
shot_after root-stretch "$A" 1
check_pixels stretch "$SHOT" "0 0 $RED" "500 370 $RED" "524 0 $LIME" "1023 370 $LIME" \
    "0 767 $BLUE" "500 400 $BLUE" "1023 767 $YELLOW" "524 400 $YELLOW"

# --- tile: from the top-left corner (centred tiles would put lime at 0,0)
shot_after root-tile "$A" 2
check_pixels tile "$SHOT" "0 0 $RED" "149 99 $RED" "150 0 $LIME" "0 100 $BLUE" "299 199 $YELLOW" \
    "300 0 $RED" "300 200 $RED" "450 300 $YELLOW" "1023 767 $BLUE"

# --- another picture under the same bitmap name still changes the wallpaper
shot_after root-center-b "$B" 0
check_pixels "same name, new picture" "$SHOT" "362 284 $YELLOW" "661 483 $RED" "0 0 $BLACK"

# --- many changes in one process keep exactly one pixmap on the server
check "retained pixmaps before" 1 "$(retained_pixmaps)"
check "500 changes accepted" 0 "$(apply "$A" 2 500 "$B"; echo $?)"
check "retained pixmaps after 500 changes" 1 "$(retained_pixmaps)"
save_root_shot root-after-500
check_pixels "after 500 changes (the last was B)" "$DESKTOP_SHOTS/root-after-500.png" \
    "0 0 $YELLOW" "299 199 $RED"

# --- a setter that exited without keeping its pixmap leaves a stale id in the atoms;
# when that id now names our own new pixmap, freeing "the previous one" must not
# kill our own connection. Make the collision happen: free the retained client,
# then point the atoms at the id our next connection will give its pixmap (the
# lowest free client slot is the one xrestop just used).
previous=$(xprop -root _XROOTPMAP_ID | awk '{print $NF}')
xkill -id "$previous" >/dev/null
slot=$(xrestop -b -m 1 | awk '/- xrestop/ { mine = 1 } mine && /res_base/ { print $3; exit }')
stale=$(printf '0x%x' $(( slot + (previous & 0x1fffff) )))
"$APPLY" --claim-root-pixmap "$stale"
shot_after root-after-stale-id "$A" 0
check "new pixmap reuses the stale id" "$stale" "$(xprop -root _XROOTPMAP_ID | awk '{print $NF}')"
check_pixels "after a stale id" "$SHOT" "362 284 $RED" "661 483 $YELLOW"
check "retained pixmaps after a stale id" 1 "$(retained_pixmaps)"

# --- two monitors side by side: each shows the picture in its own rectangle
xrandr --setmonitor tapetor-left 512/135x768/203+0+0 screen >/dev/null
xrandr --setmonitor tapetor-right 512/135x768/203+512+0 none >/dev/null
check "two monitors" 2 "$(xrandr --listmonitors | awk 'NR == 1 { print $2 }')"
shot_after root-two-monitors-center "$A" 0
# (512-300)/2 = 106 within each monitor
check_pixels "two monitors, center" "$SHOT" "105 284 $BLACK" "106 284 $RED" "405 483 $YELLOW" \
    "406 483 $BLACK" "617 284 $BLACK" "618 284 $RED" "917 483 $YELLOW" "918 483 $BLACK"
shot_after root-two-monitors-tile "$A" 2
check_pixels "two monitors, tile" "$SHOT" "0 0 $RED" "511 0 $LIME" "512 0 $RED" "812 0 $RED" \
    "662 0 $LIME"
shot_after root-two-monitors-stretch "$A" 1
check_pixels "two monitors, stretch" "$SHOT" "0 0 $RED" "511 767 $YELLOW" "512 0 $RED" \
    "1023 0 $LIME" "512 767 $BLUE" "1023 767 $YELLOW"
xrandr --delmonitor tapetor-right >/dev/null
xrandr --delmonitor tapetor-left >/dev/null

# --- a change's connection survives the server refusing a request and another setter
# killing it (Xlib's default handlers end the process on either)
check "refused, then lost" "refused forgotten lost 0" \
    "$(seen=$("$APPLY" --lose-connection 2>&1); echo "$seen $?")"

# --- without an X display there is nothing to set
check "no display, no wallpaper" 1 "$(DISPLAY= apply "$A" 0 2>/dev/null; echo $?)"

finish
