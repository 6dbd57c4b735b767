#!/usr/bin/env bash
# Builds the tests and the program a second time with AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer (gcc) and runs the unit, window and
# desktop tests there. Any memory error, undefined behaviour or leak fails the run
# (in the desktop tests the instrumented program then ends with an error status or
# dies, which their checks see); leaks inside Qt and the system libraries below it
# would be suppressed in tests/sanitizers/lsan.supp, each with its reason.
#
# Usage: scripts/test-sanitizers.sh [BUILD_DIR]   (default: build-sanitizers)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build-sanitizers}

"$top/scripts/install-deps.sh" build test
# float-cast-overflow is not part of gcc's "undefined".
sanitize="-fsanitize=address,undefined,float-cast-overflow"
cmake -S "$top" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE= -DTAPETOR_UNITY_BUILD=ON \
    -DCMAKE_CXX_FLAGS="-O1 -g -fno-omit-frame-pointer $sanitize -fno-sanitize-recover=all" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build "$out" -j "$(nproc)" --target test_unit test_window tapetor apply_wallpaper

# Every report goes to a file of its own, so that one from a program a desktop test
# started (whose output the test throws away) is seen as well.
reports=$out/sanitizer-reports
rm -rf "$reports"
mkdir -p "$reports"
# The sway case runs the program as nobody, whose reports must land here as well.
chmod 1777 "$reports"
export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1:strict_init_order=1:log_path=$reports/asan
export LSAN_OPTIONS=suppressions=$top/tests/sanitizers/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan
status=0
# The window tests' long run is left out too: its twenty thousand changes take minutes
# here, and every step it takes runs in the other window tests. (The desktop long run
# stays.)
export GTEST_FILTER=-LongRun.*
# The real desktops are left out: they differ from each other in the programs and
# settings the program hands the picture to, which the unit tests run here with every
# desktop's commands, and in pixels, which the plain build's run checks.
ctest --test-dir "$out" --output-on-failure -j 2 -L '^(unit|window|desktop)$' || status=$?
if compgen -G "$reports/*" >/dev/null; then
    echo "Sanitizer reports:"
    cat "$reports"/*
    status=1
fi
exit "$status"
