#!/usr/bin/env bash
# The real program when the disk and the desktop fail it:
#   - its own folder read-only: the bitmap goes to the data folder;
#   - the data folder full: the change fails and the root window keeps its picture;
#   - the settings folder read-only: one message, the settings file untouched, the
#     program runs on;
#   - a GNOME session whose gsettings is missing, failing or hanging: the change fails
#     quietly and "/startos" still ends.
# Read-only folders and the small disk are mounts when the test runs as root (as in
# CI), in a mount namespace of its own; otherwise permissions and a file size limit.
set -u
if [[ $EUID == 0 && -z ${TAPETOR_FAULTS_NAMESPACE:-} ]] && unshare --mount --propagation private true 2>/dev/null; then
    TAPETOR_FAULTS_NAMESPACE=1 exec unshare --mount --propagation private bash "$0" "$@"
fi
BUILT=$1
export DESKTOP_SHOTS=$2
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/app_lib.sh"
desktop_require Xvfb xdotool xwininfo openbox xwd cmp

MOUNTS=()
fault_cleanup() {
    local i
    for (( i=${#MOUNTS[@]}-1; i>=0; i-- )); do
        umount "${MOUNTS[i]}" 2>/dev/null
    done
    [[ -n $T ]] && chmod -R u+w "$T" 2>/dev/null
    desktop_cleanup
}
trap fault_cleanup EXIT

MOUNTING=0
[[ -n ${TAPETOR_FAULTS_NAMESPACE:-} ]] && MOUNTING=1

# read_only FOLDER: nothing may be written inside it from now on.
read_only() {
    if (( MOUNTING )); then
        mount --bind "$1" "$1" && MOUNTS+=("$1") && mount -o remount,bind,ro "$1"
    elif (( EUID != 0 )); then
        chmod a-w "$1"
    else
        return 1
    fi
}
# unmount FOLDER: the last mount made on it goes.
unmount() {
    local i
    umount "$1" || return 1
    for (( i=${#MOUNTS[@]}-1; i>=0; i-- )); do
        if [[ ${MOUNTS[i]} == "$1" ]]; then
            MOUNTS=("${MOUNTS[@]:0:i}" "${MOUNTS[@]:i+1}")
            return 0
        fi
    done
}
writable_again() {
    if (( MOUNTING )); then
        unmount "$1"
    else
        chmod u+w "$1"
    fi
}

desktop_temp_home
start_xvfb 1024x768x24
start_window_manager

pictures=$T/obrazky
mkdir -p "$pictures"
solid_picture "$pictures/cerveny.png" '#ff0000'
# 1200 x 900: a bitmap of 3.2 MB, which the small disk below cannot take.
solid_picture "$pictures/velky.png" '#0000ff' 1200x900
write_collection "$T/mala.tkl" "$pictures/cerveny.png"
write_collection "$T/velka.tkl" "$pictures/velky.png"

prog=$T/program
mkdir -p "$prog"
cp "$BUILT" "$prog/tapetor"
TAPETOR=$prog/tapetor
data=$XDG_DATA_HOME/tapetor
mkdir -p "$data"
ini=$XDG_CONFIG_HOME/tapetor/tapetor.ini

# run_startos [LIMIT_KB [VARIABLE=VALUE...]]: "/startos" to its end, in the given
# environment; prints the exit status.
run_startos() {
    local limit=${1:-}
    shift
    (
        if [[ -n $limit ]]; then
            # Writes past the limit fail as on a full disk instead of ending the program.
            trap '' XFSZ
            ulimit -f "$limit"
        fi
        exec env "$@" "$TAPETOR" /startos
    ) >"$T/tapetor.log" 2>&1 &
    TAPETOR_PID=$!
    track_pid "$TAPETOR_PID"
    if ! wait_until '! tapetor_alive' 60; then
        echo "still running"
        return
    fi
    wait "$TAPETOR_PID"
    echo $?
}

# --- the program's folder is read-only: the bitmap goes to the data folder
full_disk_limit=""
if (( MOUNTING )); then
    # 64 KiB: room for the small picture's bitmap (9 KiB), not for the big one's.
    mount -t tmpfs -o size=64k tmpfs "$data" && MOUNTS+=("$data")
else
    full_disk_limit=64
fi
if read_only "$prog"; then
    write_settings "kolekce=$T/mala.tkl" "run=1" "v_stretch=True"
    check "read-only program folder: /startos ends" 0 "$(run_startos)"
    check "no bitmap beside the program" 0 "$([[ -e $prog/tapetor.bmp ]] && echo 1 || echo 0)"
    check "bitmap in the data folder" 1 "$([[ -s $data/tapetor.bmp ]] && echo 1 || echo 0)"
    check "root shows the picture" FF0000 "$(root_pixel 512 384)"
    save_root_shot faults-read-only-program
else
    echo "SKIP: a read-only folder cannot be made here (root without mounts)"
fi

# --- the data folder is full: the desktop has the new picture first, and the bitmap,
# written after it, fails whole: the previous one stays
if [[ -s $data/tapetor.bmp ]]; then
    cp "$data/tapetor.bmp" "$T/shown.bmp"
    write_settings "kolekce=$T/velka.tkl" "run=1" "v_stretch=True"
    check "full disk: /startos ends" 0 "$(run_startos "$full_disk_limit")"
    check "bitmap unchanged" 0 "$(cmp -s "$T/shown.bmp" "$data/tapetor.bmp"; echo $?)"
    check "no half-written file left" "tapetor.bmp" "$(ls -A "$data" | tr '\n' ' ' | sed 's/ $//')"
    check "root shows the new picture" 0000FF "$(root_pixel 512 384)"
    save_root_shot faults-full-disk
fi

# --- the settings folder is read-only: one message, the file untouched
(( MOUNTING )) && unmount "$data"
write_settings "kolekce=$T/mala.tkl" "interval=45"
cp "$ini" "$T/settings-before.ini"
message_box() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$TAPETOR_PID" --name '^tapetor$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        (( WIDTH != 490 && WIDTH > 40 )) && { echo "$id"; return 0; }
    done
    return 1
}
# close_window ID: the window manager's close, as the user's Alt+F4.
close_window() { key_to "$1" alt+F4; }
if read_only "$XDG_CONFIG_HOME/tapetor"; then
    start_tapetor
    check "window shown" 1 "$(wait_until '[[ -n $(main_window) ]]' 20 && echo 1 || echo 0)"
    window=$(main_window)
    check "the user is told" 1 "$(close_window "$window" && wait_until '[[ -n $(message_box) ]]' 5 && echo 1 || echo 0)"
    save_root_shot faults-settings-message
    check "message closed" 1 "$(close_message '[[ -z $(message_box) ]]' "$(message_box)" && echo 1 || echo 0)"
    # Without a tray the closed window stays minimised; brought back and closed again,
    # it says nothing more.
    xdotool windowactivate --sync "$window" 2>/dev/null
    check "window back" 1 "$(wait_until '[[ -n $(main_window) ]]' 10 && echo 1 || echo 0)"
    close_window "$window"
    check "told only once" 1 "$(wait_until '[[ -n $(message_box) ]]' 3 && echo 0 || echo 1)"
    check "program still running" 1 "$(tapetor_alive && echo 1 || echo 0)"
    check "settings file untouched" 0 "$(cmp -s "$T/settings-before.ini" "$ini"; echo $?)"
    kill "$TAPETOR_PID"
    wait "$TAPETOR_PID" 2>/dev/null
    writable_again "$XDG_CONFIG_HOME/tapetor"
else
    echo "SKIP: a read-only folder cannot be made here (root without mounts)"
fi

# --- GNOME without a working gsettings: the change fails, /startos still ends
tools=$T/tools
mkdir -p "$tools"
gnome_startos() {
    # Under the sanitizers the leak lsan.supp names in GTK's accessibility bridge (Qt's
    # GTK theme on GNOME) is reached only by a full unwind.
    run_startos "" XDG_CURRENT_DESKTOP=GNOME PATH="$tools" \
        ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS:fast_unwind_on_malloc=0}
}
write_settings "kolekce=$T/mala.tkl" "run=1" "v_stretch=True"
rm -f "$data"/tapetor-*.png
check "gsettings missing: /startos ends" 0 "$(gnome_startos)"
check "gsettings missing: no copy left" "" "$(ls "$data" | grep '^tapetor-' )"
printf '#!/bin/sh\necho "no schemas" >&2\nexit 1\n' >"$tools/gsettings"
chmod +x "$tools/gsettings"
check "gsettings failing: /startos ends" 0 "$(gnome_startos)"
check "gsettings failing: no copy left" "" "$(ls "$data" | grep '^tapetor-')"
# A settings daemon that never answers: each change waits its bounded time, then fails.
hang_name=tapetor-hang-$$
printf '#!/bin/bash\nexec -a %s %s 120\n' "$hang_name" "$(command -v sleep)" >"$tools/gsettings"
check "gsettings hanging: /startos ends" 0 "$(gnome_startos)"
check "the hanging tool was stopped" 0 "$(pgrep -f "^$hang_name" | wc -l)"
check "bitmap still written" 1 "$([[ -s $data/tapetor.bmp || -s $prog/tapetor.bmp ]] && echo 1 || echo 0)"
check "root window untouched by the GNOME session" FF0000 "$(root_pixel 512 384)"

finish
