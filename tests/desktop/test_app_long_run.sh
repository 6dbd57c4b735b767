#!/usr/bin/env bash
# 500 changes made by the running program on a bare X server, clicked one after the
# other on "změnit tapetu ihned": the server ends up holding one retained pixmap of
# ours (the wallpaper), and the program's own connection no more pixmaps than before.
# (test_root_wallpaper.sh makes the same count for 500 changes of the wallpaper code
# alone; this one goes through the window's whole change.)
set -u
TAPETOR=$1
export DESKTOP_SHOTS=$2
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_lib.sh"
desktop_require Xvfb xdotool xwininfo openbox xwd xrestop xprop

desktop_temp_home
start_xvfb 1024x768x24
start_window_manager

pictures=$T/obrazky
mkdir -p "$pictures"
solid_picture "$pictures/a.png" '#ff0000'
solid_picture "$pictures/b.png" '#0000ff'
write_collection "$T/k.tkl" "$pictures/a.png" "$pictures/b.png"
write_settings "kolekce=$T/k.tkl" "v_stretch=True"

# Pixmaps of the program's own connection: the client with its PID, or named after
# it when the server cannot tell PIDs ("tapetor", "Qt Selection Owner for tapetor").
own_pixmaps() {
    xrestop -b -m 1 | awk -v pid="$TAPETOR_PID" '
        /^[0-9]+ - / { mine = $0 ~ ("PID: *" pid " ") || $3 == "tapetor" || /Selection Owner for tapetor/ }
        /pixmaps/ { if (mine) print $3 }' | head -n 1
}
root_pixmap() {
    xprop -root _XROOTPMAP_ID 2>/dev/null | awk '{ print $NF }'
}
# A copy of the program, so its bitmap lands in a folder of the test's own.
mkdir -p "$T/program"
cp "$TAPETOR" "$T/program/tapetor"
TAPETOR=$T/program/tapetor

start_tapetor
wait_until '[[ -n $(main_window) ]]' 20 || { echo "no window"; cat "$T/tapetor.log"; exit 1; }
window=$(main_window)
check "start-up change" 1 "$(wait_until '[[ -n $(root_pixmap) ]]' 10 && echo 1 || echo 0)"
wait_until changes_settled 20
check "one retained pixmap at the start" 1 "$(retained_pixmaps)"
own_before=$(own_pixmaps)
check "the program's connection is found" 1 "$([[ -n $own_before ]] && echo 1 || echo 0)"

# Two points inside the label (ui/frmConsole.ui), in the window's own coordinates, far
# enough apart that no two clicks in a row make a double-click (which changes once).
clicks=()
for (( i = 0; i < 250; i++ )); do
    clicks+=(mousemove --window "$window" 360 241 click 1 sleep 0.01
             mousemove --window "$window" 440 241 click 1 sleep 0.01)
done
xdotool "${clicks[@]}"
# Every click read, then every change they asked for done.
input_handled "$window" 432 292
check "the changes come to an end" 1 "$(wait_until changes_settled 300 && echo 1 || echo 0)"
# The tooltip's own pixmap goes with it.
tooltip_gone
save_root_shot long-run-500
check "program still running" 1 "$(tapetor_alive && echo 1 || echo 0)"
check "one retained pixmap after 500 changes" 1 "$(retained_pixmaps)"
check "the program's own pixmaps did not grow" "$own_before" "$(own_pixmaps)"
# Sorted a, b; the start-up applied b and prepared a. An even number of changes later
# a is prepared again, so the last one applied was b.
check "the last change shows b" 0000FF "$(root_pixel 5 5)"
finish
