#!/usr/bin/env bash
# Builds Qt (qtbase) for 64-bit Windows with Debian's mingw-w64, from Debian's own
# qt6-base source, once: the result is kept in a cache outside the checkout, keyed by
# Qt's version and the configure options, and reused. Prints the install folder.
# Usage: scripts/build-windows-qt.sh        (cache: $TAPETOR_CACHE or ~/.cache/tapetor)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
say() { echo "build-windows-qt: $*" >&2; }

"$top/scripts/install-deps.sh" windows
# The host tools (moc, rcc, uic, and their CMake files in qt6-base-dev) must be the very
# version of the source built here.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools | sed 's/+.*//')

options=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF
    -DFEATURE_pkg_config=OFF
    # No Direct2D platform plugin; Qt 6.4's Windows plugin then links its DirectWrite 3
    # font database, which Gui builds only with Direct2D, so that goes too.
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
    # Network only for the local socket that joins a second start to the first.
    # Qt 6.4 builds its Schannel TLS plugin even without SSL, and that fails.
    -DINPUT_openssl=no -DFEATURE_ssl=OFF -DFEATURE_schannel=OFF -DFEATURE_http=OFF -DFEATURE_networkproxy=OFF
    -DFEATURE_dnslookup=OFF -DFEATURE_udpsocket=OFF -DFEATURE_sctp=OFF
    # Debian's source has no wintab.h, which the tablet support of the Windows plugin includes.
    -DFEATURE_tabletevent=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_zstd=OFF
)
key=$(printf '%s\n' "$version" "${options[@]}" | sha256sum | cut -c1-12)
cache=${TAPETOR_CACHE:-"${XDG_CACHE_HOME:-$HOME/.cache}/tapetor"}
prefix="$cache/qt-$version-mingw-$key"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work="$cache/qt-$version-mingw-$key.work"
mkdir -p "$work"
source_dir="$work/qtbase-everywhere-src-$version"
if [ ! -d "$source_dir" ]; then
    say "fetching Debian's qt6-base $version source"
    # A private source list, so that the system's own apt set-up is left as it is.
    apt_dir="$work/apt"
    mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial"
    uri=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    uri=${uri:-http://deb.debian.org/debian}
    printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: %s\n' \
        "$uri" /usr/share/keyrings/debian-archive-keyring.gpg >"$apt_dir/parts/src.sources"
    apt_options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/parts"
                 -o "Dir::State::Lists=$apt_dir/lists")
    apt-get "${apt_options[@]}" update -qq
    (cd "$work" && apt-get "${apt_options[@]}" source --download-only -qq "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)")
    tar -C "$work" -xJf "$work"/qt6-base_*.orig.tar.xz
    # Debian's patches are for its Linux packages; the upstream source is what is built.
fi

build_dir="$work/build"
if [ ! -f "$build_dir/build.ninja" ]; then
    say "configuring Qt $version for x86_64-w64-mingw32"
    cmake -S "$source_dir" -B "$build_dir" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64-qt.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        "${options[@]}" >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log" >&2; exit 1; }
fi
say "building Qt (the first time takes about thirty minutes on two cores)"
cmake --build "$build_dir" -j "$(nproc)" >"$work/build.log" 2>&1 || { grep -B2 -A12 'error' "$work/build.log" | head -60 >&2; exit 1; }
cmake --install "$build_dir" >"$work/install.log" 2>&1
mkdir -p "$prefix/licenses" && cp "$source_dir"/LICENSES/* "$prefix/licenses/"
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
