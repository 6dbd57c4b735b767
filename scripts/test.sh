#!/usr/bin/env bash
# Builds tapetor and runs every test: the format check and clang-tidy, unit, window and
# desktop tests through ctest (real desktops included), the same again under the
# sanitizers, the fuzz targets for a short while, the Windows layer under Wine, then the
# installed program and its Debian package.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" build test desktops style
# The editor's tests of file names run under a Czech locale too.
"$top/scripts/ensure-locale.sh" cs_CZ.UTF-8
"$top/scripts/build.sh"
"$top/scripts/test-style.sh" "$top/build"
(cd "$top/build" && ctest --output-on-failure -j 2)
"$top/scripts/test-sanitizers.sh" "$top/build-sanitizers"
"$top/scripts/test-fuzz.sh" "$top/build-fuzz"
"$top/scripts/test-windows.sh" "$top/build-windows"
"$top/scripts/test-install.sh"
