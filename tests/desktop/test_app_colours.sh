#!/usr/bin/env bash
# The window's fixed colours under a light and a dark desktop theme (GTK's Adwaita
# through Qt's gtk3 platform theme): the start page and the settings page, measured
# from shots of the real window. Shots: colours-SCHEME-PAGE.png.
set -u
TAPETOR=$1
export DESKTOP_SHOTS=$2
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
source "$HERE/app_lib.sh"
desktop_require Xvfb xdotool xwd
desktop_need /usr/bin/python3 /usr/bin/convert
/usr/bin/python3 -c 'import PIL' || { echo "FAIL: python3-pil is not installed"; exit 1; }
[[ -e $(find /usr/lib -path '*qt6/plugins/platformthemes/libqgtk3.so' -print -quit) ]] \
    || { echo "FAIL: qt6-gtk-platformtheme is not installed"; exit 1; }

desktop_temp_home
start_xvfb 1024x768x24
start_window_manager
FORM=$HERE/../../ui/frmConsole.ui
mkdir -p "$DESKTOP_SHOTS"

measure() { # SHOT PAGE SCHEME
    /usr/bin/python3 "$HERE/text_contrast.py" "$FORM" "$@"
}

for scheme in light dark; do
    theme=Adwaita
    [[ $scheme == dark ]] && theme=Adwaita:dark
    QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=$theme start_tapetor
    wait_until '[[ -n $(main_window) ]]' 20 || { echo "no window"; cat "$T/tapetor.log"; exit 1; }
    window=$(main_window)
    for page in top nastaveni; do
        shot=$DESKTOP_SHOTS/colours-$scheme-$page.png
        if [[ $page == nastaveni ]]; then
            # "nastavit automatické změny tapet" opens the settings page.
            xdotool mousemove --window "$window" 150 179 click 1
        fi
        # The window draws in its own time.
        wait_until "xwd -id $window -silent | /usr/bin/convert xwd:- '$shot' && measure '$shot' $page $scheme" 10
        check "$scheme theme, $page: every coloured text readable" 0 "$(measure "$shot" $page $scheme >"$T/measure.log"; echo $?)"
        cat "$T/measure.log"
    done
    kill "$TAPETOR_PID"
    wait "$TAPETOR_PID" 2>/dev/null
done
finish
