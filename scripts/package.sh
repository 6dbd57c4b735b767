#!/usr/bin/env bash
# Builds the Debian package of tapetor and prints its path.
# Usage: scripts/package.sh [build folder]   (default: build-package)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build-package}
"$top/scripts/install-deps.sh" build package

# Debian's own hardening flags (stack protector, fortified calls, read-only relocations
# bound at start), as a package built by Debian's tools would get them; the source
# paths in them are relative to the top folder.
cd "$top"
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
# The package lives in /usr, which the program also keeps as the fallback place of its
# data. Progress goes to stderr: the only line on stdout is the package's path.
cmake -S "$top" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTAPETOR_UNITY_BUILD=ON \
      -DTAPETOR_BUILD_TESTS=OFF -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" \
      -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build "$out" -j 2 >&2

rm -f "$out"/tapetor_*.deb
if ! (cd "$out" && cpack -G DEB >"$out/cpack.log" 2>&1); then
    cat "$out/cpack.log" >&2
    exit 1
fi
debs=("$out"/tapetor_*.deb)
[[ -f ${debs[0]} ]] || { echo "cpack made no package" >&2; cat "$out/cpack.log" >&2; exit 1; }
echo "${debs[0]}"
