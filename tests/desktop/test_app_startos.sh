#!/usr/bin/env bash
# "/startos" on a bare X server: two changes in the sorted order, saved options, the end.
set -u
TAPETOR=$1
export DESKTOP_SHOTS=$2
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_lib.sh"
desktop_require Xvfb xdotool xwd

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
finish
