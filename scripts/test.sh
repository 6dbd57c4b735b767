#!/usr/bin/env bash
# Builds tapetor and runs every test: the format check and clang-tidy, unit, window and
# desktop tests through ctest (real desktops included), the same again under the
# sanitizers, the fuzz targets for a short while, the Windows program under Wine, then
# the installed program and its Debian package. Ends with the time each stage took.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

timings=()
stage() { # stage NAME COMMAND...
    local name=$1 start=$SECONDS
    shift
    "$@"
    timings+=("$(printf '%-12s %5d s' "$name" $((SECONDS - start)))")
}
report() {
    [ "${#timings[@]}" -gt 0 ] || return 0
    echo "test: time per stage"
    printf '  %s\n' "${timings[@]}"
}
trap report EXIT

stage packages "$top/scripts/install-deps.sh" build test desktops style
# The editor's tests of file names run under a Czech locale too.
stage locale "$top/scripts/ensure-locale.sh" cs_CZ.UTF-8
stage build "$top/scripts/build.sh"
stage style "$top/scripts/test-style.sh" "$top/build"
stage ctest ctest --test-dir "$top/build" --output-on-failure -j 2
stage sanitizers "$top/scripts/test-sanitizers.sh" "$top/build-sanitizers"
stage fuzz "$top/scripts/test-fuzz.sh" "$top/build-fuzz"
stage windows "$top/scripts/test-windows.sh" "$top/build-windows"
stage install "$top/scripts/test-install.sh"
