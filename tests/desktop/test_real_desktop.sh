#!/usr/bin/env bash
# The real program on a real desktop component, headless: "/startos" goes over a
# collection whose last two pictures differ but share their file name, once in each
# style; the screen must show the last picture in that style, drawn by the desktop
# (its own window covers the root), and the desktop's own setting must hold it.
#
#   test_real_desktop.sh TAPETOR SHOTS_FOLDER DESKTOP
#   DESKTOP: xfce lxde lxqt mate gnome gnome-wayland cinnamon sway phoc kde
set -u
TAPETOR=$1
export DESKTOP_SHOTS=$2
DESKTOP=$3
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
source "$HERE/app_lib.sh"

# Processes a session bus started on demand (dconf-service, xfconfd, gvfsd) outlive
# it; they carry our temporary home in their environment.
end_bus_children() {
    [[ -n $T ]] || return 0
    local environs environ pid
    mapfile -t environs < <(grep -lsz "^HOME=$T/home$" /proc/[0-9]*/environ)
    for environ in "${environs[@]}"; do
        pid=${environ#/proc/}; pid=${pid%/environ}
        [[ $pid != "$$" ]] && kill "$pid" 2>/dev/null
    done
}
trap 'end_bus_children; desktop_cleanup' EXIT

[[ $DESKTOP == sway && $(id -u) -eq 0 ]] && as_nobody "$0" "$TAPETOR" sway

desktop_temp_home
LOG=$T/desktop.log
: >"$LOG"
fail_with_log() {
    echo "FAIL: $1"; tail -n 40 "$LOG"; exit 1
}

# background COMMAND...: a desktop process whose output goes to the log.
background() {
    "$@" >>"$LOG" 2>&1 &
    DESKTOP_PID=$!
    track_pid $!
}

session_bus() {
    eval "$(dbus-launch --sh-syntax)"
    track_pid "$DBUS_SESSION_BUS_PID"
}

# The desktop's window lists in the window manager's client list.
has_client_window() {
    xprop -root _NET_CLIENT_LIST | grep -q 'window id # 0x'
}

x_desktop() { # WITH_WM: Xvfb, a session bus, openbox when WITH_WM is 1
    start_xvfb 1024x768x24
    session_bus
    [[ $1 == 1 ]] && start_window_manager
}

# --- the desktops: each starts its component, waits until it is ready and defines
# setting (what the desktop stores: "PATH MODE") and the modes it uses per style.
TILE_ORIGIN="0 0"     # where the desktop starts tiling
shoot() { root_shot "$1"; }

start_xfce() {
    x_desktop 1
    export XDG_CURRENT_DESKTOP=XFCE
    background xfdesktop --sm-client-disable
    wait_until "xfconf-query -c xfce4-desktop -l | grep -q last-image" 20 || fail_with_log "xfdesktop did not start"
    MODES=(1 3 2)
    setting() {
        local property
        property=$(xfconf-query -c xfce4-desktop -l | grep -m1 'last-image$')
        echo "$(xfconf-query -c xfce4-desktop -p "$property") $(xfconf-query -c xfce4-desktop -p "${property%last-image}image-style")"
    }
}

start_lxde() {
    x_desktop 1
    export XDG_CURRENT_DESKTOP=LXDE
    # An autostart before the desktop runs: no pcmanfm is started to wait for one.
    mkdir -p "$T/shim"
    printf '#!/bin/sh\necho "$@" >>"%s"\n' "$T/shim.log" >"$T/shim/pcmanfm"
    chmod +x "$T/shim/pcmanfm"
    write_settings "kolekce=$T/tapety.tkl" "run=1" "v_center=True"
    PATH=$T/shim:$PATH start_tapetor /startos
    wait_until '! tapetor_alive' 30
    wait "$TAPETOR_PID"
    check "lxde before its desktop: /startos ends well" 0 $?
    check "lxde before its desktop: pcmanfm is not called" "" "$(cat "$T/shim.log" 2>/dev/null)"
    background pcmanfm --desktop --profile LXDE
    wait_until has_client_window 20 || fail_with_log "pcmanfm's desktop did not start"
    MODES=(center stretch tile)
    setting() {
        local file=$XDG_CONFIG_HOME/pcmanfm/LXDE/desktop-items-0.conf
        echo "$(sed -n 's/^wallpaper=//p' "$file") $(sed -n 's/^wallpaper_mode=//p' "$file")"
    }
}

start_lxqt() {
    x_desktop 1
    export XDG_CURRENT_DESKTOP=LXQt
    background pcmanfm-qt --desktop --profile=lxqt
    wait_until has_client_window 20 || fail_with_log "pcmanfm-qt's desktop did not start"
    MODES=(center stretch tile)
    # pcmanfm-qt shows the mode it is given but stores only the picture: the mode
    # stored must be ours too.
    setting() {
        sed -n 's/^Wallpaper=//p; s/^WallpaperMode=//p' "$XDG_CONFIG_HOME/pcmanfm-qt/lxqt/settings.conf" | paste -sd ' '
    }
}

start_mate() {
    x_desktop 1
    export XDG_CURRENT_DESKTOP=MATE
    background caja -n --force-desktop
    wait_until has_client_window 30 || fail_with_log "caja's desktop did not start"
    MODES=(centered stretched wallpaper)
    setting() {
        echo "$(gsettings get org.mate.background picture-filename) $(gsettings get org.mate.background picture-options)" | tr -d "'"
    }
}

start_kde() {
    x_desktop 0
    export XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=5 \
        QT_QUICK_BACKEND=software QT_XCB_GL_INTEGRATION=none LIBGL_ALWAYS_SOFTWARE=1 KWIN_COMPOSE=N
    background kwin_x11
    wait_until "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window" 30 || fail_with_log "kwin did not start"
    background plasmashell --no-respawn
    # Ready once it has a desktop and has drawn its own wallpaper on it.
    wait_until "qdbus org.kde.plasmashell /PlasmaShell org.kde.PlasmaShell.evaluateScript 'print(desktops().length)' | grep -qv '^0'" 60 \
        && wait_until "[[ \$(root_pixel 512 400) != 000000 ]]" 60 || fail_with_log "plasmashell did not start"
    # Plasma tiles from the centre of the screen: a tile sits in the middle.
    TILE_ORIGIN="62 84"
    MODES=(6 0 3)
    setting() {
        local file=$XDG_CONFIG_HOME/plasma-org.kde.plasma.desktop-appletsrc
        echo "$(sed -n 's|^Image=file://||p' "$file" | sort -u | paste -sd ' ') $(sed -n 's/^FillMode=//p' "$file" | sort -u | paste -sd ' ')"
    }
}

# GNOME Shell and Cinnamon need the system bus for logind; a private one does.
private_system_bus() {
    dbus-daemon --session --address="unix:path=$T/sysbus" --fork --print-pid >"$T/sysbus.pid"
    track_pid "$(cat "$T/sysbus.pid")"
    export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$T/sysbus
}

# GNOME Shell starts in the overview, which hides the background. It opens the
# overview only once the default background has loaded, which with software rendering
# beside other desktops can take half a minute; a call that hangs must not use up
# the whole wait.
shell_overview() { # [true|false]: reads or sets it
    local call=(gdbus call --session --timeout 5 --dest org.gnome.Shell --object-path /org/gnome/Shell
                --method org.freedesktop.DBus.Properties)
    if [[ $# -eq 0 ]]; then "${call[@]}.Get" org.gnome.Shell OverviewActive
    else "${call[@]}.Set" org.gnome.Shell OverviewActive "<$1>"; fi
}
leave_overview() {
    wait_until "shell_overview | grep -q true" 90 \
        || fail_with_log "gnome-shell did not open its overview (last answer: $(shell_overview 2>&1))"
    wait_until "shell_overview false && shell_overview | grep -q false" 10 || fail_with_log "the overview stays open"
}

gnome_setting() {
    local schema=$1 key=$2
    echo "$(gsettings get "$schema" "$key") $(gsettings get "$schema" picture-options)" | sed -e "s|'file://||" -e "s/'//g"
}

start_gnome() {
    x_desktop 0
    private_system_bus
    export XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=x11 LIBGL_ALWAYS_SOFTWARE=1
    background gnome-shell --x11 --replace --sm-disable
    wait_until "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window" 30 || fail_with_log "gnome-shell did not start"
    leave_overview
    MODES=(centered stretched wallpaper)
    # GNOME 43 tiles from the centre, in tiles scaled to its own liking.
    TILE_ORIGIN=scaled
    setting() { gnome_setting org.gnome.desktop.background "picture-uri${GNOME_DARK:+-dark}"; }
}

start_gnome-wayland() {
    session_bus
    private_system_bus
    export XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland LIBGL_ALWAYS_SOFTWARE=1 WAYLAND_DISPLAY=wayland-tapetor
    unset DISPLAY
    wayland_client
    background gnome-shell --headless --wayland --no-x11 --wayland-display="$WAYLAND_DISPLAY" --virtual-monitor 1024x768
    leave_overview
    MODES=(centered stretched wallpaper)
    TILE_ORIGIN=scaled
    setting() { gnome_setting org.gnome.desktop.background "picture-uri${GNOME_DARK:+-dark}"; }
    shoot() { /usr/bin/python3 "$HERE/desktop_bus.py" screenshot "$1" && /usr/bin/convert "$1" -alpha off "$1"; }
}

start_cinnamon() {
    x_desktop 0
    private_system_bus
    export XDG_CURRENT_DESKTOP=X-Cinnamon XDG_SESSION_TYPE=x11 LIBGL_ALWAYS_SOFTWARE=1
    background cinnamon --replace --sm-disable
    wait_until "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window" 30 || fail_with_log "cinnamon did not start"
    # csd-background paints the background once a session manager says the session runs;
    # one that asks before the stand-in owns its name waits for ever, with a black screen.
    background /usr/bin/python3 "$HERE/desktop_bus.py" session-manager
    wait_until "gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner org.gnome.SessionManager | grep -q true" 30 \
        || fail_with_log "the session manager's stand-in did not start"
    background csd-background
    MODES=(centered stretched wallpaper)
    setting() { gnome_setting org.cinnamon.desktop.background picture-uri; }
}

start_sway() {
    start_headless_sway
    MODES=(center stretch tile)
    setting() { # swaybg's arguments: ... -i PATH -m MODE
        pgrep -u "$(id -u)" -a swaybg | tail -n 1 | sed -n 's/.* -i \([^ ]*\) -m \([a-z]*\).*/\1 \2/p'
    }
    shoot() { grim "$1"; }
}

# A wlroots compositor with no wallpaper of its own, where our swaybg draws it. Debian 12's
# wayfire needs a DRM device even headless; phoc runs on pixman alone.
our_swaybgs() { # the swaybg processes of this case's session
    local environ pid
    for environ in $(grep -lsz "^HOME=$T/home$" /proc/[0-9]*/environ); do
        pid=${environ#/proc/}; pid=${pid%/environ}
        [[ $(cat "/proc/$pid/comm" 2>/dev/null) == swaybg ]] && echo "$pid"
    done
}
start_phoc() {
    export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman GSETTINGS_BACKEND=memory
    unset DISPLAY
    printf '[output:HEADLESS-1]\nmode = 1024x768\n' >"$T/phoc.ini"
    background phoc -C "$T/phoc.ini"
    wait_until "[[ -S $XDG_RUNTIME_DIR/wayland-0 ]]" 20 || fail_with_log "phoc did not start"
    export WAYLAND_DISPLAY=wayland-0
    wayland_client
    MODES=(center stretch tile)
    setting() { # swaybg's arguments: ... -i PATH -m MODE
        local pid
        for pid in $(our_swaybgs); do
            tr '\0' ' ' <"/proc/$pid/cmdline" | sed -n 's/.* -i \([^ ]*\) -m \([a-z]*\).*/\1 \2/p'
        done
    }
    shoot() { grim "$1"; }
}

# --- pictures and pixels -------------------------------------------------------------
# 300 x 200, four quadrants; the last picture is the first one turned round.
quadrants() {
    /usr/bin/convert -size 300x200 xc:black \
        -fill red -draw 'rectangle 0,0 149,99' -fill lime -draw 'rectangle 150,0 299,99' \
        -fill blue -draw 'rectangle 0,100 149,199' -fill yellow -draw 'rectangle 150,100 299,199' "$@"
}
pictures=$T/obrazky
mkdir -p "$pictures/1" "$pictures/2"
solid_picture "$pictures/0.png" '#808080'
quadrants "$pictures/1/tapeta.png"
quadrants -rotate 180 "$pictures/2/tapeta.png"
write_collection "$T/tapety.tkl" "$pictures/0.png" "$pictures/1/tapeta.png" "$pictures/2/tapeta.png"

# The colour of the last picture at a screen point for a style, or "" where the point
# is near an edge of a quadrant or outside the picture (the desktop's own background).
expected_colour() { # X Y STYLE
    local x=$1 y=$2 px py ox oy
    case $3 in
        0) px=$(( x - 362 )); py=$(( y - 284 )) ;;
        1) px=$(( x * 300 / 1024 )); py=$(( y * 200 / 768 )) ;;
        2) read -r ox oy <<<"$TILE_ORIGIN"
           px=$(( ((x - ox) % 300 + 300) % 300 )); py=$(( ((y - oy) % 200 + 200) % 200 )) ;;
    esac
    (( px < 4 || py < 4 || px > 295 || py > 195 || (px > 145 && px < 154) || (py > 95 && py < 104) )) && return
    local colours=(FFFF00 0000FF 00FF00 FF0000) # turned round: yellow, blue / lime, red
    echo "${colours[(py >= 100) * 2 + (px >= 150)]}"
}
PROBES=()
for y in 130 250 300 350 420 470 700; do
    for x in 130 200 380 430 520 600 650 990; do PROBES+=("$x $y"); done
done

screen_matches() { # SHOT STYLE: every probe that has an expected colour shows it
    local shot=$1 point x y want
    if [[ $2 == 2 && $TILE_ORIGIN == scaled ]]; then
        # Tiles of the desktop's own size: the picture's colours and nothing else.
        # (scaling blends their edges: each colour a good share, together almost all).
        /usr/bin/convert "$shot" -crop 1024x560+0+130 -format %c histogram:info:- | awk '
            { n = $1 + 0; total += n }
            /#(FF0000|00FF00|0000FF|FFFF00) / { ours += n; if (n > 20000) big++ }
            END { exit !(big == 4 && ours > 0.95 * total) }' || return 1
        # The stretched picture has the same colours, in two runs across a row; tiles
        # laid from the centre give three or more.
        /usr/bin/convert "$shot" -crop 1024x1+0+450 +repage txt:- | awk '
            match($0, /#(FF0000|00FF00|0000FF|FFFF00)/) {
                colour = substr($0, RSTART, RLENGTH); if (colour != last) runs++; last = colour
            }
            END { exit !(runs >= 3) }'
        return
    fi
    for point in "${PROBES[@]}"; do
        read -r x y <<<"$point"
        want=$(expected_colour "$x" "$y" "$2")
        [[ -z $want || $(pixel_of "$shot" "$x" "$y") == "$want" ]] || return 1
    done
}

# --- the case --------------------------------------------------------------------------
desktop_need dbus-launch xprop xwd xdotool /usr/bin/convert
"start_$DESKTOP"
STYLE_KEYS=(v_center v_stretch v_cascade)
STYLE_NAMES=(center stretch tile)

run_startos() { # STYLE
    write_settings "kolekce=$T/tapety.tkl" "run=1" "${STYLE_KEYS[$1]}=True"
    # Every style shows the same last picture: the next start would go on after it.
    rm -rf "${XDG_STATE_HOME:-$HOME/.local/state}/tapetor"
    start_tapetor /startos
    wait_until '! tapetor_alive' 30
    wait "$TAPETOR_PID"
    check "$DESKTOP ${STYLE_NAMES[$1]}: /startos ends well" 0 $?
}

check_style() { # STYLE [NAME]: screen and setting after a change in STYLE
    local name=$DESKTOP-${2:-${STYLE_NAMES[$1]}} shot copy
    shot=$DESKTOP_SHOTS/$name.png
    mkdir -p "$DESKTOP_SHOTS"
    # The desktop draws in its own time (Plasma takes seconds, Cinnamon cross-fades, and
    # GNOME's software rendering beside another desktop can take half a minute a frame).
    wait_until "shoot '$shot' && screen_matches '$shot' $1" 90
    shoot "$shot"
    check "$name: the screen shows the last picture in its style" 0 "$(screen_matches "$shot" "$1"; echo $?)"
    copy=$(ls "$XDG_DATA_HOME"/tapetor/tapetor-*.png 2>/dev/null)
    check "$name: the desktop's setting" "$copy ${MODES[$1]}" "$(setting)"
}

for style in 0 1 2; do
    run_startos "$style"
    check_style "$style"
done
if [[ $DESKTOP == lxqt ]]; then
    profile=$XDG_CONFIG_HOME/pcmanfm-qt/lxqt/settings.conf
    start_pcmanfm_qt_again() { # SIGNAL: ends the desktop with it, then starts it again
        kill "-$1" "$DESKTOP_PID"
        wait "$DESKTOP_PID" 2>/dev/null
        [[ $1 == TERM ]] && wait_until "grep -qx 'WallpaperMode=stretch' '$profile'" 10
        background pcmanfm-qt --desktop --profile=lxqt
        wait_until has_client_window 20 || fail_with_log "pcmanfm-qt's desktop did not start again"
    }
    # A desktop killed without saving comes back in the stored style.
    start_pcmanfm_qt_again KILL
    check_style 2 tile-restarted
    # Ending in order, pcmanfm-qt 1.2 writes back the mode it started with; a running
    # tapetor puts the chosen one back before the desktop starts again.
    write_collection "$T/last.tkl" "$pictures/2/tapeta.png"
    write_settings "kolekce=$T/last.tkl" "run=1" "afterstart=False" "afterinterval=True" "interval=60" "v_stretch=True"
    start_tapetor
    check_style 1 stretch-tray
    start_pcmanfm_qt_again TERM
    check_style 1 stretch-restarted
elif [[ $DESKTOP == cinnamon ]]; then
    # Cinnamon copies GNOME's keys into its own: the picture must have come by its own.
    check "cinnamon: GNOME's key is left alone" "" "$(gsettings get org.gnome.desktop.background picture-uri | grep tapetor-)"
elif [[ $DESKTOP == phoc ]]; then
    # Six changes later one swaybg is left, the one the runtime folder names, in a
    # session of its own; it ends with the compositor.
    swaybgs=$(our_swaybgs)
    check "phoc: one swaybg after the changes" 1 "$(wc -w <<<"$swaybgs")"
    check "phoc: the runtime folder names it" "$swaybgs" "$(cat "$XDG_RUNTIME_DIR/tapetor-swaybg-wayland-0.pid")"
    check "phoc: swaybg runs in a session of its own" 1 \
        "$(( $(ps -o sid= -p "$swaybgs") != $(ps -o sid= -p $$) ? 1 : 0 ))"
    kill "$DESKTOP_PID"
    check "phoc: swaybg ends with the compositor" 0 "$(wait_until '[[ -z $(our_swaybgs) ]]' 10; echo $?)"
elif [[ $DESKTOP == gnome* ]]; then
    # In dark mode GNOME shows picture-uri-dark alone.
    gsettings set org.gnome.desktop.interface color-scheme prefer-dark
    run_startos 1
    GNOME_DARK=1 check_style 1 stretch-dark
fi
(( DESKTOP_FAILED == 0 )) || tail -n 20 "$LOG" "$T/tapetor.log"
finish
