#!/usr/bin/env bash
# The quick loop while working: builds the program with its unit and window tests in
# build/, runs them, and checks the format and clang-tidy of the C++ files changed since
# main (on main: since the last commit, uncommitted changes included). Everything else,
# the desktops above all, is scripts/test.sh.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
"$top/scripts/install-deps.sh" build style
"$top/scripts/ensure-locale.sh" cs_CZ.UTF-8
"$top/scripts/build.sh" "$build" tapetor test_unit test_window
ctest --test-dir "$build" --output-on-failure -j 2 -L '^(unit|window)$'

cd "$top"
base=$(git merge-base HEAD main 2>/dev/null || git rev-parse HEAD)
[ "$base" = "$(git rev-parse HEAD)" ] && base=HEAD~1
mapfile -t changed < <( (git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h'
                         git ls-files --others --exclude-standard -- '*.cpp' '*.h') | sort -u)
if [ "${#changed[@]}" -eq 0 ]; then
    echo "check: no C++ file changed since $base"
    exit 0
fi
"$top/scripts/test-style.sh" "$build" "${changed[@]}"
