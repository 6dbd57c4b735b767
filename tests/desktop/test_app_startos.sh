#!/usr/bin/env bash
# "/startos" on a bare X server: two changes in the sorted order, saved options, the end.
# Then the same among other setters of the root picture, each of which frees the
# previous picture by killing the client that holds it: a copy in the tray changing
# every second, feh in a loop, and three rounds of eight "/startos" at once; then one
# more round without feh, which must leave no picture of its own on the server.
set -u
TAPETOR=$1
export DESKTOP_SHOTS=$2
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_lib.sh"
desktop_require Xvfb xdotool xwd
desktop_need feh xprop xwininfo openbox trayer xrestop

desktop_temp_home
start_xvfb 1024x768x24
pictures=$T/obrazky
mkdir -p "$pictures"
solid_picture "$pictures/Cerveny.png" '#ff0000'
solid_picture "$pictures/azurovy.png" '#00ffff'
solid_picture "$pictures/bily.png" '#ffffff'
write_collection "$T/tri.tkl" "$pictures/Cerveny.png" "$pictures/bily.png" "$pictures/azurovy.png"
write_settings "kolekce=$T/tri.tkl" "run=1" "v_stretch=True"

start_tapetor /startos
check "ended by itself" 1 "$(wait_until '! tapetor_alive' 30 && echo 1 || echo 0)"
wait "$TAPETOR_PID"
check "exit status" 0 "$?"
save_root_shot startos
# Sorted: azurovy, bily, Cerveny. Start-up makes the second current; the two changes
# apply bily and then Cerveny.
check "root shows the third picture" "FF0000" "$(root_pixel 512 384)"
check "settings saved" "3" "$(sed -n 's/^major=//p' "$XDG_CONFIG_HOME/tapetor/tapetor.ini")"
bitmap=$(ls "$XDG_DATA_HOME/tapetor/tapetor.bmp" "$(dirname "$TAPETOR")/tapetor.bmp" 2>/dev/null | head -n 1)
check "bitmap written" 1 "$([[ -s $bitmap ]] && echo 1 || echo 0)"

# --- --previous and --next: by themselves, then handed to a running copy. The history
# so far: bily, Cerveny.
command_status() {
    timeout 30 "$TAPETOR" "$1" >>"$T/commands.log" 2>&1
    echo $?
}
# In a corner: the running copy's window, with no window manager to minimise it to,
# covers the middle.
shows() {
    wait_until "[[ \$(root_pixel 5 5) == $1 ]]" 20 && echo 1 || echo 0
}
check "--previous alone" "0 FFFFFF" "$(command_status --previous) $(root_pixel 512 384)"
check "--next alone walks forward" "0 FF0000" "$(command_status --next) $(root_pixel 512 384)"
check "--next alone goes on along the collection" "0 00FFFF" "$(command_status --next) $(root_pixel 512 384)"
start_tapetor
check "a plain start changes" 1 "$(shows FFFFFF)"
check "--previous handed over" 0 "$(command_status --previous)"
check "the running copy goes back" 1 "$(shows 00FFFF)"
check "--next handed over" 0 "$(command_status --next)"
check "the running copy goes forward" 1 "$(shows FFFFFF)"
check "the running copy stays" 1 "$(tapetor_alive && echo 1 || echo 0)"
kill "$TAPETOR_PID"
wait "$TAPETOR_PID"

# A FIFO among the pictures: opening it used to wait for a writer for ever, so the
# logon start never ended. Sorted second, it is what start-up loads: the first change
# applies the error picture, the second the picture after it.
mkfifo "$pictures/b-fronta.png"
write_collection "$T/fronta.tkl" "$pictures/azurovy.png" "$pictures/b-fronta.png" "$pictures/Cerveny.png"
write_settings "kolekce=$T/fronta.tkl" "run=1" "v_stretch=True"
start_tapetor /startos
check "with a FIFO: ended by itself" 1 "$(wait_until '! tapetor_alive' 30 && echo 1 || echo 0)"
tapetor_alive && kill "$TAPETOR_PID"
wait "$TAPETOR_PID"
check "with a FIFO: exit status" 0 "$?"
check "with a FIFO: root shows the picture after it" "FF0000" "$(root_pixel 512 384)"

# --- other setters at the same time
start_window_manager
start_tray
root_pixmap() {
    xprop -root _XROOTPMAP_ID 2>/dev/null | awk '/PIXMAP/ { print $NF }'
}
# ended_with PID: waits (bounded) for the child and adds its exit status to $statuses.
ended_with() {
    if wait_until "! kill -0 $1" 60; then
        wait "$1"
        statuses+="$? "
    else
        statuses+="running "
    fi
}
solid_picture "$T/feh.png" '#808080' 32x32
write_settings "kolekce=$T/tri.tkl" "run=1" "afterstart=False" "afterinterval=True" "interval=0.0167"
start_tapetor
check "tray copy docked" 1 "$(wait_until '[[ -n $(tray_icon) ]]' 20 && echo 1 || echo 0)"
before=$(root_pixmap)
check "tray copy changes" 1 "$(wait_until '[[ $(root_pixmap) != "$before" ]]' 10 && echo 1 || echo 0)"

# feh's own status is not ours to judge: a setter that frees feh's picture while feh
# still holds its connection ends feh.
feh_deadline=$(( $(date +%s) + 150 ))
(
    while [[ ! -e $T/feh.stop ]] && (( $(date +%s) < feh_deadline )); do
        feh --no-fehbg --bg-scale "$T/feh.png" >>"$T/feh.log" 2>&1
        echo >>"$T/feh.runs"
    done
) &
track_pid $!
feh_loop=$!
# round NAME: eight /startos at once, each of which must end with status 0.
round() {
    local i pid runs=()
    statuses=""
    for i in 1 2 3 4 5 6 7 8; do
        "$TAPETOR" /startos >"$T/startos-$1-$i.log" 2>&1 &
        runs+=($!)
        track_pid $!
    done
    for pid in "${runs[@]}"; do
        ended_with "$pid"
    done
    check "$1: eight /startos end with status 0" "0 0 0 0 0 0 0 0 " "$statuses"
}
for n in 1 2 3; do
    round "round $n"
done
touch "$T/feh.stop"
wait_until "! kill -0 $feh_loop" 30
check "feh ran alongside" 1 "$([[ $(wc -l <"$T/feh.runs") -ge 3 ]] && echo 1 || echo 0)"

# Every picture is freed by the setter that replaces it. feh does not hold the server
# while it reads, frees and publishes, so with feh around a picture can be replaced
# unfreed; without it, a round leaves as many on the server as it found. The tray
# copy's change briefly holds a second one, so they are counted between its changes:
# its log says none is under way, before and after the count, with no line between.
count_between_changes() {
    local lines
    lines=$(wc -l <"$T/tapetor.log")
    changes_settled || return 1
    found=$(retained_pixmaps)
    changes_settled && [[ $(wc -l <"$T/tapetor.log") == "$lines" ]]
}
found=""
wait_until count_between_changes 20
round "without feh"
# A picture truly left behind stays for good; the tray copy's own changes come every few
# seconds and, slowed down by the sanitizers, can hide the count for a while.
check "no picture left behind" "$found" \
    "$(wait_until '[[ $(retained_pixmaps) == "$found" ]]' 30 && echo "$found" || retained_pixmaps)"

check "tray copy lives" 1 "$(tapetor_alive && echo 1 || echo 0)"
after=$(root_pixmap)
check "tray copy still changes" 1 "$(wait_until '[[ $(root_pixmap) != "$after" ]]' 10 && echo 1 || echo 0)"
check "no X connection of ours broken" "" \
    "$(grep -l 'X connection\|connection broke' "$T"/startos-*.log "$T/tapetor.log")"
save_root_shot startos-among-setters
finish
