#!/usr/bin/env bash
# Installs the Debian packages a task needs, only those that are missing.
# Usage: scripts/install-deps.sh build|run|test|desktops|fuzz|bench|package ...
set -euo pipefail

build=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins
       libx11-dev libx11-xcb-dev libxrandr-dev zlib1g-dev libpng-dev libgtest-dev fonts-dejavu-core qt6-translations-l10n)
# qt6-wayland: a Wayland session without Xwayland (sway's default) has no other way in.
run=(xvfb openbox trayer xdotool x11-utils x11-apps imagemagick qt6-wayland)
# qt6-gtk-platformtheme and python3-pil: the window under GTK's light and dark Adwaita, measured.
test=("${run[@]}" dbus dconf-service dconf-cli gsettings-desktop-schemas libglib2.0-bin xrestop x11-xserver-utils locales feh
      qt6-gtk-platformtheme python3-pil)
# The real desktop components the wallpaper is tried on (tests/desktop/test_real_desktop.sh).
desktops=(dbus-x11 python3-gi xfdesktop4 xfconf pcmanfm pcmanfm-qt caja mate-desktop-common
          gnome-shell libgl1-mesa-dri cinnamon cinnamon-desktop-data cinnamon-settings-daemon
          sway swaybg grim waybar phoc plasma-workspace plasma-desktop kwin-x11 qdbus-qt5)
# libFuzzer (clang's) for scripts/test-fuzz.sh; llvm-14 symbolises its reports.
fuzz=(clang-14 libclang-rt-14-dev llvm-14)
# The format check and the static analysis (scripts/test-style.sh).
style=(clang-format clang-tidy git)
bench=("${run[@]}" libjpeg-turbo-progs xwallpaper hsetroot feh time)
# The Windows program: Qt cross-built from Debian's source (scripts/build-windows-qt.sh),
# run and tested under Wine (the offscreen window tests draw with DejaVu, as on Linux).
windows=(cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools qt6-translations-l10n xz-utils
         wine64 wine zip unzip fonts-dejavu-core)
package=(dpkg-dev file lintian desktop-file-utils appstream)

wanted=()
for group in "$@"; do
    declare -n list="$group"
    wanted+=("${list[@]}")
done

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
