# Shared set-up for the desktop tests: a private X server, a temporary home, pixel
# reads of the root window, bounded polling and a pass/fail tally.
#
#   source lib.sh
#   desktop_require Xvfb             exit 77 (skipped) when the X server is missing
#   desktop_need xwd convert ...     fail at once, naming the tool, when one is missing
#   desktop_temp_home                HOME, XDG_* under a fresh temporary folder ($T)
#   start_xvfb [WxHxD]               private display, exported as DISPLAY
#   start_window_manager; start_tray
#   root_pixel X Y                   RRGGBB of the root window, read now
#   save_root_shot NAME              keeps $DESKTOP_SHOTS/NAME.png for a person to see
#   wait_until 'COMMAND' SECONDS     polls until COMMAND succeeds; false on time-out
#   retained_pixmaps                 pixmaps the root-picture setters left on the server
#   check NAME EXPECTED ACTUAL; finish
#
# Cleanup on exit ends only the processes started through track_pid, newest first.

DESKTOP_PIDS=()
DESKTOP_PASSED=0
DESKTOP_FAILED=0
DESKTOP_SHOTS=${DESKTOP_SHOTS:-${TMPDIR:-/tmp}/desktop-shots}
T=""

# A desktop component busy with a frame under load can take its time over SIGTERM; it
# gets ten seconds, then SIGKILL, so that the cleanup never outlasts the case.
desktop_cleanup() {
    local i pid
    for (( i=${#DESKTOP_PIDS[@]}-1; i>=0; i-- )); do
        kill "${DESKTOP_PIDS[i]}" 2>/dev/null
    done
    for (( i=${#DESKTOP_PIDS[@]}-1; i>=0; i-- )); do
        pid=${DESKTOP_PIDS[i]}
        wait_until "! still_running $pid" 10 || kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    if [[ -n $T && -d $T ]]; then
        rm -rf "$T"
    fi
}
trap desktop_cleanup EXIT

# A child that has ended stays a zombie until it is waited for.
still_running() {
    local state
    state=$(ps -o stat= -p "$1") && [[ $state != Z* ]]
}

track_pid() {
    DESKTOP_PIDS+=("$1")
}

desktop_require() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed"
            exit 77
        fi
    done
}

desktop_need() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "FAIL: $tool is not installed (scripts/install-deps.sh test installs it)"
            exit 1
        fi
    done
}

desktop_temp_home() {
    T=$(mktemp -d "${TMPDIR:-/tmp}/tapetor-desktop.XXXXXX")
    export HOME=$T/home
    export XDG_CONFIG_HOME=$HOME/.config
    export XDG_DATA_HOME=$HOME/.local/share
    export XDG_CACHE_HOME=$HOME/.cache
    export XDG_RUNTIME_DIR=$T/run
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    # Qt must find no StatusNotifierWatcher (it uses the XEmbed tray then), and no
    # tool may start a session bus of its own.
    export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
    unset XDG_CURRENT_DESKTOP WAYLAND_DISPLAY
}

# wait_until 'COMMAND' SECONDS
wait_until() {
    local command=$1 deadline=$(( $(date +%s%N) + ${2:-10} * 1000000000 ))
    until eval "$command" >/dev/null 2>&1; do
        if (( $(date +%s%N) > deadline )); then
            return 1
        fi
        sleep 0.05
    done
}

# The server picks a free display itself (-displayfd), so parallel tests never race.
start_xvfb() {
    local geometry=${1:-1024x768x24} number_file=$T/display
    : > "$number_file"
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp -noreset 3>"$number_file" >"$T/xvfb.log" 2>&1 &
    track_pid $!
    if ! wait_until "[[ -s $number_file ]]" 15; then
        echo "Xvfb did not start:"; cat "$T/xvfb.log"
        exit 1
    fi
    export DISPLAY=:$(tr -d '\n' < "$number_file")
    wait_until "xdpyinfo" 10 || { echo "display $DISPLAY does not answer"; exit 1; }
}

start_window_manager() {
    command -v openbox >/dev/null || return 0
    openbox --sm-disable >"$T/openbox.log" 2>&1 &
    track_pid $!
    wait_until "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window" 10
}

start_tray() {
    command -v trayer >/dev/null || return 0
    trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
        >"$T/trayer.log" 2>&1 &
    track_pid $!
    wait_until "xdotool search --classname trayer" 10
}

# key_to WINDOW KEY...: the keys pressed and released in WINDOW once it has the focus,
# as a user types them; fails, sending nothing, when WINDOW cannot get the focus.
# Not "xdotool key --window": it chooses for every press and every release on its own
# between XTEST and an event sent to the window, by where the focus is at that moment.
# A key that takes its window away (Return in a message, Alt+F4) was then pressed by
# XTEST and released by an event the server does not count, so it stayed down and
# repeated into each window focused later: the next message closed by itself.
key_to() {
    local window=$1
    shift
    timeout 3 xdotool windowactivate --sync "$window" 2>/dev/null \
        || timeout 3 xdotool windowfocus --sync "$window" 2>/dev/null
    [[ $(xdotool getwindowfocus 2>/dev/null) == "$window" ]] || return 1
    xdotool key "$@"
}

# shot FILE: the root window as a PNG.
root_shot() {
    xwd -root -silent | /usr/bin/convert xwd:- "$1"
}

# pixel_of FILE X Y -> RRGGBB
pixel_of() {
    /usr/bin/convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6
}

root_pixel() {
    local shot=$T/pixel.png
    root_shot "$shot" && pixel_of "$shot" "$1" "$2"
}

save_root_shot() {
    mkdir -p "$DESKTOP_SHOTS"
    root_shot "$DESKTOP_SHOTS/$1.png"
}

# Pixmaps held by clients that have closed and kept their resources (xrestop): the
# root pictures of the setters that made them.
retained_pixmaps() {
    xrestop -b -m 1 | awk '
        /^[0-9]+ - / { unknown = ($3 == "<unknown>") }
        /res_base/ { server = ($3 == "0") }
        /pixmaps/ { if (unknown && !server) total += $3 }
        END { print total + 0 }'
}

# check NAME EXPECTED ACTUAL
check() {
    if [[ "$2" == "$3" ]]; then
        DESKTOP_PASSED=$((DESKTOP_PASSED + 1))
    else
        DESKTOP_FAILED=$((DESKTOP_FAILED + 1))
        echo "FAIL: $1: expected '$2', got '$3'"
    fi
}

# check_pixels NAME SHOT "X Y RRGGBB" ...
check_pixels() {
    local name=$1 shot=$2 point x y colour
    shift 2
    for point in "$@"; do
        read -r x y colour <<<"$point"
        check "$name at $x,$y" "$colour" "$(pixel_of "$shot" "$x" "$y")"
    done
}

finish() {
    echo "$DESKTOP_PASSED passed, $DESKTOP_FAILED failed"
    (( DESKTOP_FAILED == 0 ))
}

# as_nobody SCRIPT TAPETOR [ARGS...]: sway refuses to run as root, so the calling test
# runs again as nobody, as "SCRIPT TAPETOR OWN/shots ARGS...", in a folder OWN of its own;
# its shots come back to DESKTOP_SHOTS and the caller ends with its status. The
# sanitizers' settings go along, so an instrumented program reports there too.
as_nobody() {
    local script=$1 program=$2 own status
    shift 2
    own=$(mktemp -d /tmp/tapetor-nobody.XXXXXX)
    chmod 755 "$own"; chown nobody:nogroup "$own"
    setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin TMPDIR="$own" \
        ASAN_OPTIONS="${ASAN_OPTIONS-}" LSAN_OPTIONS="${LSAN_OPTIONS-}" UBSAN_OPTIONS="${UBSAN_OPTIONS-}" \
        bash "$script" "$program" "$own/shots" "$@"
    status=$?
    mkdir -p "$DESKTOP_SHOTS" && cp "$own"/shots/*.png "$DESKTOP_SHOTS"/ 2>/dev/null
    rm -rf "$own"
    exit "$status"
}

# Under the sanitizers, Qt's Wayland platform keeps state to the end of the process in
# frames that only a full unwind reaches, and lsan.supp names them by those frames.
wayland_client() {
    [[ -z ${ASAN_OPTIONS-} ]] || export ASAN_OPTIONS=$ASAN_OPTIONS:fast_unwind_on_malloc=0
}

# start_headless_sway: sway on one 1024x768 headless output (the caller's background and
# fail_with_log start and report it); its socket and display exported for clients.
start_headless_sway() {
    export XDG_CURRENT_DESKTOP=sway WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
    unset DISPLAY
    echo "output HEADLESS-1 resolution 1024x768 bg #112233 solid_color" >"$T/sway.conf"
    background sway -c "$T/sway.conf"
    wait_until "ls $XDG_RUNTIME_DIR/sway-ipc.*.sock" 20 || fail_with_log "sway did not start"
    SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock)
    export SWAYSOCK WAYLAND_DISPLAY=wayland-1
    wayland_client
}
