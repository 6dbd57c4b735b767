#!/usr/bin/env bash
# Builds the Windows program: Qt for mingw-w64 once (scripts/build-windows-qt.sh), then
# tapetor.exe with its unit and window tests, and a portable zip of the program with the
# Qt libraries, plugins and translations it needs. Prints the zip's path last.
# Usage: scripts/build-windows.sh [DIR]   (default: build-windows-app)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-"$top/build-windows-app"}
say() { echo "build-windows: $*" >&2; }

qt=$("$top/scripts/build-windows-qt.sh")
say "Qt for Windows in $qt"

cmake -S "$top" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64-qt.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
cmake --build "$out" -j "$(nproc)"

version=$(sed -n 's/^project(tapetor VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
name="tapetor-$version-windows-x64"
stage="$out/$name"
rm -rf "$stage" "$out/$name.zip"
mkdir -p "$stage"

# Where the DLLs a program names are found: Qt's, then the compiler's own runtime.
gcc_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
search=("$qt/bin" "$gcc_runtime" /usr/x86_64-w64-mingw32/lib)

# Copies FILE to DEST and, beside the program, every DLL it needs that Windows itself
# does not bring, however deep.
copy_with_dlls() {
    local file=$1 dest=$2
    cp "$file" "$dest/"
    local dll dir
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
        [ -e "$stage/$dll" ] && continue
        for dir in "${search[@]}"; do
            if [ -f "$dir/$dll" ]; then
                copy_with_dlls "$dir/$dll" "$stage"
                break
            fi
        done
    done
}

copy_with_dlls "$out/tapetor.exe" "$stage"
# Plugins: the platform itself, the Windows look, and the picture formats beyond PNG
# and BMP (built into Qt) that collections hold.
for plugin in platforms/qwindows styles/qwindowsvistastyle imageformats/qjpeg imageformats/qgif imageformats/qico; do
    mkdir -p "$stage/$(dirname "$plugin")"
    copy_with_dlls "$qt/plugins/$plugin.dll" "$stage/$(dirname "$plugin")"
done
mkdir -p "$stage/translations"
cp /usr/share/qt6/translations/qtbase_cs.qm "$stage/translations/"
cp "$top/assets/prv_err.jpg" "$stage/"
# Qt looks for its plugins and translations beside the program, not in a build folder.
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' >"$stage/qt.conf"
# Qt is linked as shared libraries under the LGPL; its license texts go with it.
mkdir -p "$stage/licenses/qt"
cp "$qt"/licenses/* "$stage/licenses/qt/"
# The compiler's runtime (libstdc++, libgcc: GPL with the runtime exception) and
# winpthreads (MIT) are linked as DLLs too.
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/gcc-runtime.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenses/mingw-w64.txt"
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll

(cd "$out" && zip -qr9 "$name.zip" "$name")
echo "$out/$name.zip"
