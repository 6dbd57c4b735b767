#!/usr/bin/env bash
# Builds the unit and window tests a second time with AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer (gcc) and runs them there. Any memory
# error, undefined behaviour or leak fails the run; leaks inside Qt and the system
# libraries below it are suppressed in tests/sanitizers/lsan.supp, each with its reason.
#
# The desktop tests are left out: they drive the real program through xdotool with
# waits sized for a normal build, and the program's code paths they reach are the
# window tests' own (the X11 root backend has unit and desktop tests of its own).
#
# Usage: scripts/test-sanitizers.sh [BUILD_DIR]   (default: build-sanitizers)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build-sanitizers}

"$top/scripts/install-deps.sh" build
# float-cast-overflow is not part of gcc's "undefined".
sanitize="-fsanitize=address,undefined,float-cast-overflow"
cmake -S "$top" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE= \
    -DCMAKE_CXX_FLAGS="-O1 -g -fno-omit-frame-pointer $sanitize -fno-sanitize-recover=all" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build "$out" -j "$(nproc)" --target test_unit test_window

export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1:strict_init_order=1
export LSAN_OPTIONS=suppressions=$top/tests/sanitizers/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$out" && ctest --output-on-failure -j 2 -R '^(test_unit|window)$')
