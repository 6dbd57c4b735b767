#!/bin/bash
# The GNOME backend against real GSettings with the dconf backend on a private
# session bus: every change, even of the same picture, gives GNOME a new picture URI
# it is told about, in the chosen style, and only the newest copy is kept.
#
#   test_gnome_wallpaper.sh APPLY_WALLPAPER SHOTS_FOLDER

APPLY=$1
SCHEMA=org.gnome.desktop.background

if [[ -z ${TAPETOR_IN_SESSION_BUS:-} ]]; then
    source "$(dirname "$0")/lib.sh"
    desktop_need dbus-run-session gsettings /usr/libexec/dconf-service /usr/bin/convert
    gsettings list-keys "$SCHEMA" >/dev/null 2>&1 || { echo "FAIL: no GNOME schemas (gsettings-desktop-schemas)"; exit 1; }
    desktop_temp_home
    # dconf-service inherits the bus's environment: the temporary home must be set first.
    TAPETOR_IN_SESSION_BUS=1 dbus-run-session -- bash "$0" "$@"
    exit $?
fi

source "$(dirname "$0")/lib.sh"
trap - EXIT # the outer run owns the temporary folder
T=$(dirname "$HOME")
export XDG_CURRENT_DESKTOP=GNOME
unset DISPLAY

BMP=$T/tapetor.bmp
A=$T/quadrants.png
/usr/bin/convert -size 300x200 xc:black \
    -fill red -draw 'rectangle 0,0 149,99' -fill lime -draw 'rectangle 150,0 299,99' \
    -fill blue -draw 'rectangle 0,100 149,199' -fill yellow -draw 'rectangle 150,100 299,199' "$A"

uri_path() { # 'file:///x/y.png' -> /x/y.png
    gsettings get "$SCHEMA" "$1" | sed -e "s/^'file:\/\///" -e "s/'$//"
}

# Every change notification that a running GNOME would receive.
gsettings monitor "$SCHEMA" >"$T/monitor.log" 2>&1 &
MONITOR=$!
# The monitor is listening once it reports a change made after it started.
wait_until "gsettings set $SCHEMA primary-color \"'#0000000\$RANDOM'\"; grep -q primary-color '$T/monitor.log'" 10 \
    || { echo "gsettings monitor does not report changes"; kill $MONITOR; exit 1; }

# Whether the monitor reported picture-uri taking the value it has now. Its reports are
# not counted: under load it once reported the key one time more than it was set, as
# GSettings reports keys again when dconf tells it that more than one may have changed.
told_current_uri() { grep -qxF "picture-uri: $(gsettings get "$SCHEMA" picture-uri)" "$T/monitor.log"; }

previous=""
changes=0
for step in "1 'stretched'" "1 'stretched'" "2 'wallpaper'" "0 'centered'"; do
    read -r style options <<<"$step"
    check "change (style $style) accepted" 0 "$("$APPLY" "$A" "$style" "$BMP"; echo $?)"
    copy=$(uri_path picture-uri)
    check "picture-options for style $style" "$options" "$(gsettings get "$SCHEMA" picture-options)"
    check "dark picture follows" "$(gsettings get "$SCHEMA" picture-uri)" "$(gsettings get "$SCHEMA" picture-uri-dark)"
    [[ $copy != "$previous" ]]
    check "a new picture URI on every change" 0 $?
    check "copy in the user data folder" "$XDG_DATA_HOME/tapetor" "$(dirname "$copy")"
    check "copy shows the picture" "FF0000 FFFF00" "$(pixel_of "$copy" 10 10) $(pixel_of "$copy" 290 190)"
    check "only the newest copy is kept" "$(basename "$copy")" "$(ls "$XDG_DATA_HOME/tapetor")"
    check "bitmap written" 24 "$(od -An -tu2 -j28 -N2 "$BMP" | tr -d ' ')"
    changes=$((changes + 1))
    wait_until told_current_uri 10
    check "GNOME was told about change $changes" 0 "$(told_current_uri; echo $?)"
    previous=$copy
done

# A style code outside 0..2 changes the picture and leaves the style alone.
check "invalid style accepted" 0 "$("$APPLY" "$A" 7 "$BMP"; echo $?)"
check "style kept for an invalid code" "'centered'" "$(gsettings get "$SCHEMA" picture-options)"
[[ $(uri_path picture-uri) != "$previous" ]]
check "picture still changes with an invalid style" 0 $?

kill $MONITOR
wait $MONITOR 2>/dev/null
finish
