#!/bin/sh
# The Windows program under Wine, in a throw-away prefix: the plain Win32 layer's own
# tests, then tapetor.exe built with Qt (scripts/build-windows.sh), its unit and window
# tests, and the program as the zip holds it on a private X server.
# Usage: scripts/test-windows.sh [build folder]   (default: build-windows; the program
# is built in the folder's sibling with "-app" appended)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-windows"}
app_build="$build-app"
locale_name=cs_CZ.UTF-8

say() { echo "test-windows: $*"; }

install_missing() {
    missing=
    for package in "$@"; do
        dpkg -s "$package" >/dev/null 2>&1 || missing="$missing $package"
    done
    [ -z "$missing" ] && return 0
    say "installing$missing"
    # shellcheck disable=SC2086 # one word per package
    if ! apt-get install -y --no-install-recommends $missing; then
        apt-get update
        apt-get install -y --no-install-recommends $missing
    fi
}

# Code page 1250 for the "A" functions comes from Wine's locale, so the Czech locale
# must exist on this machine.
ensure_czech_locale() {
    if locale -a 2>/dev/null | grep -qix 'cs_CZ\.utf-\?8'; then
        return 0
    fi
    install_missing locales
    say "generating $locale_name"
    localedef -i cs_CZ -f UTF-8 "$locale_name"
}

install_missing g++-mingw-w64-x86-64 wine64 wine cmake ninja-build
"$root/scripts/install-deps.sh" windows run
ensure_czech_locale

WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/tapetor-wine.XXXXXX")
export WINEPREFIX
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL="$locale_name"

# shellcheck disable=SC2317 # run by the trap
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# The prefix boots beside the builds: wineboot mostly waits.
say "preparing a Wine prefix"
# Wine's helper processes inherit the caller's pipes, so every Wine start here has its
# standard streams redirected; otherwise a pipeline can wait on them. The next process
# stalls for seconds if it starts while wineboot's server shuts down, hence the wait.
(wineboot -i && wineserver -w) </dev/null >/dev/null 2>&1 &
prefix_ready=$!

say "building in $build"
cmake -S "$root/tests/windows" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Debug
cmake --build "$build" -j2

say "building tapetor.exe"
if ! built=$("$root/scripts/build-windows.sh" "$app_build"); then
    printf '%s\n' "$built"
    say "the build failed"
    exit 1
fi
zip=$(printf '%s\n' "$built" | tail -n 1)

wait "$prefix_ready"
# One server for the whole run; the warm-up start loads what every test would load.
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1

say "running the Windows layer's tests"
status=0
(cd "$build" && ctest --output-on-failure </dev/null) || status=$?

say "running the unit and window tests under Wine"
qt_bin=$(sed -n 's/^Qt6Core_DIR:PATH=\(.*\)\/lib\/cmake\/Qt6Core$/\1\/bin/p' "$app_build/CMakeCache.txt")
gcc_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
WINEPATH="$(winepath -w "$qt_bin");$(winepath -w "$gcc_runtime");$(winepath -w /usr/x86_64-w64-mingw32/lib)"
export WINEPATH
(cd "$app_build" && ctest --output-on-failure -j 2 </dev/null) || status=$?
unset WINEPATH

say "running the program from $zip"
unpacked=$(mktemp -d "${TMPDIR:-/tmp}/tapetor-zip.XXXXXX")
(cd "$unpacked" && unzip -q "$zip")
bash "$root/tests/windows/test_app_wine.sh" "$unpacked"/tapetor-* "$app_build/wine-shots" || status=$?
rm -rf "$unpacked"
exit "$status"
