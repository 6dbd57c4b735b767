#!/usr/bin/env bash
# Checks tapetor as it is installed: into a temporary prefix and as a Debian package.
# The launcher and the AppStream metadata must pass their validators, the package must
# hold every installed file and no lintian error, and the installed program must run
# "/startos" on a private X server, finding its data under the prefix and writing the
# wallpaper bitmap into the user's data folder because it may not write beside itself.
# The same run from the build folder keeps the bitmap beside the program.
# Usage: scripts/test-install.sh [build folder]   (default: build-package)
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build-package}
"$top/scripts/install-deps.sh" build package run || exit 1
deb=$("$top/scripts/package.sh" "$build" | tail -n 1)
[[ -f $deb ]] || { echo "no package was built"; exit 1; }

source "$top/tests/desktop/lib.sh"
source "$top/tests/desktop/app_lib.sh"
desktop_require Xvfb xdotool xwd identify setpriv

desktop_temp_home
# The program runs as another user when this script runs as root; it must reach the
# prefix and the pictures.
chmod 755 "$T"
prefix=$T/prefix
if ! cmake --install "$build" --prefix "$prefix" >"$T/install.log" 2>&1; then
    cat "$T/install.log"
    exit 1
fi

# show TITLE COMMAND...: runs a validator, prints what it says; its status is returned.
show() {
    local title=$1 status
    shift
    echo "== $title"
    "$@" >"$T/said" 2>&1
    status=$?
    if [[ -s $T/said ]]; then cat "$T/said"; else echo "(no messages)"; fi
    return $status
}

# --- the installed files -------------------------------------------------------------
show "desktop-file-validate share/applications/tapetor.desktop" \
    desktop-file-validate "$prefix/share/applications/tapetor.desktop"
check "desktop-file-validate passes" 0 "$?"
show "appstreamcli validate --no-net share/metainfo/com.example.tapetor.metainfo.xml" \
    appstreamcli validate --no-net "$prefix/share/metainfo/com.example.tapetor.metainfo.xml"
check "appstreamcli validate passes" 0 "$?"
# The tree check also ties the metadata to its launcher and icon.
show "appstreamcli validate-tree --no-net <prefix>" appstreamcli validate-tree --no-net "$prefix"
check "appstreamcli validate-tree passes" 0 "$?"

expected=(
    bin/tapetor
    share/tapetor/prv_err.jpg
    share/applications/tapetor.desktop
    share/icons/hicolor/scalable/apps/tapetor.svg
    share/metainfo/com.example.tapetor.metainfo.xml
    share/man/man1/tapetor.1.gz
    share/doc/tapetor/copyright
    share/doc/tapetor/changelog.gz
)
for size_dir in "$top"/assets/icons/*x*; do
    expected+=("share/icons/hicolor/$(basename "$size_dir")/apps/tapetor.png")
done
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
for file in "${expected[@]}"; do
    check "installed $file" 1 "$(grep -qx "$file" <<<"$installed" && echo 1 || echo 0)"
done
check "the only program installed" "bin/tapetor" "$(grep '^bin/' <<<"$installed")"
check "installed error picture is the project's" 0 \
    "$(cmp -s "$top/assets/prv_err.jpg" "$prefix/share/tapetor/prv_err.jpg"; echo $?)"

# --- the package ---------------------------------------------------------------------
echo "== dpkg-deb -c $(basename "$deb")"
dpkg-deb -c "$deb"
packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort)
check "the package holds what cmake --install installs" "$installed" "$packaged"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins qt6-wayland qt6-image-formats-plugins; do
    check "depends on $package" 1 "$(grep -qE "(^|, )$package( |,|$)" <<<"$depends" && echo 1 || echo 0)"
done
check "section" x11 "$(dpkg-deb -f "$deb" Section)"
show "lintian $(basename "$deb")" lintian --display-info --fail-on error "$deb"
check "lintian finds no error" 0 "$?"

# --- the installed program -----------------------------------------------------------
start_xvfb 1024x768x24
pictures=$T/obrazky
mkdir -p "$pictures"
# A picture that cannot be read: the preview, and so the wallpaper, falls back to the
# error picture. The installed copy is replaced by one of its own size and colour, so
# the bitmap tells which copy was read: the prefix's, found relative to the program.
echo "not a picture" >"$pictures/poskozeny.png"
write_collection "$T/jedna.tkl" "$pictures/poskozeny.png"
/usr/bin/convert -size 40x30 xc:'#0000ff' "$T/marker.jpg"
install -m 644 "$T/marker.jpg" "$prefix/share/tapetor/prv_err.jpg"
write_settings "kolekce=$T/jedna.tkl" "run=1" "v_center=True" "startup=1" "afterstart=True"

chmod a-w "$prefix/bin"
runner=()
if [[ $(id -u) -eq 0 ]]; then
    # Root writes into any folder whatever its modes, so the program runs as nobody,
    # for whom the root-owned, read-only bin/ is not writable either.
    chown -R nobody:nogroup "$HOME" "$XDG_RUNTIME_DIR"
    runner=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
"${runner[@]}" "$prefix/bin/tapetor" /startos >"$T/tapetor.log" 2>&1 &
TAPETOR_PID=$!
track_pid "$TAPETOR_PID"
check "installed: ended by itself" 1 "$(wait_until '! tapetor_alive' 30 && echo 1 || echo 0)"
wait "$TAPETOR_PID"
check "installed: exit status" 0 "$?"
chmod u+w "$prefix/bin"

bitmap=$XDG_DATA_HOME/tapetor/tapetor.bmp
check "installed: bitmap in the user's data folder" 1 "$([[ -s $bitmap ]] && echo 1 || echo 0)"
check "installed: no bitmap beside the program" 0 "$([[ -e $prefix/bin/tapetor.bmp ]] && echo 1 || echo 0)"
check "installed: error picture read from <prefix>/share/tapetor" "40x30" \
    "$(identify -format '%wx%h' "$bitmap" 2>/dev/null)"
# JPEG does not keep the colour exactly; compare with the marker as decoded here.
check "installed: the wallpaper shows it" "$(pixel_of "$T/marker.jpg" 0 0)" "$(root_pixel 512 384)"
check "installed: options record the program's folder" "$prefix/bin" \
    "$(sed -n 's/^path=//p' "$XDG_CONFIG_HOME/tapetor/tapetor.ini")"
autostart=$XDG_CONFIG_HOME/autostart/tapetor.desktop
check "installed: logon entry starts the installed program" "Exec=\"$prefix/bin/tapetor\" /startos" \
    "$(grep '^Exec=' "$autostart")"
show "desktop-file-validate ~/.config/autostart/tapetor.desktop" desktop-file-validate "$autostart"
check "logon entry passes desktop-file-validate" 0 "$?"
if [[ -s $T/tapetor.log ]]; then
    echo "== the installed program said"
    cat "$T/tapetor.log"
fi

# --- the program in its build folder -------------------------------------------------
rm -f "$build/tapetor.bmp" "$bitmap"
solid_picture "$pictures/cerveny.png" '#ff0000'
write_collection "$T/cerveny.tkl" "$pictures/cerveny.png"
write_settings "kolekce=$T/cerveny.tkl" "run=1" "v_center=True"
TAPETOR=$build/tapetor
start_tapetor /startos
check "build folder: ended by itself" 1 "$(wait_until '! tapetor_alive' 30 && echo 1 || echo 0)"
wait "$TAPETOR_PID"
check "build folder: exit status" 0 "$?"
check "build folder: bitmap beside the program" 1 "$([[ -s $build/tapetor.bmp ]] && echo 1 || echo 0)"
check "build folder: no bitmap in the user's data folder" 0 "$([[ -e $bitmap ]] && echo 1 || echo 0)"
check "build folder: the wallpaper shows the picture" "FF0000" "$(root_pixel 512 384)"
rm -f "$build/tapetor.bmp"

finish
