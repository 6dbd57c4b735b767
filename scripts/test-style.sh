#!/usr/bin/env bash
# Checks the house style and the static analysis: every C++ file as .clang-format lays
# it out, and clang-tidy (.clang-tidy) clean over the code and tests of the given build.
# Usage: scripts/test-style.sh [BUILD_DIR [FILE...]]   (default: build/, configured by
# build.sh; with FILEs, only those)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cd "$top"

if [ $# -gt 1 ]; then
    sources=("${@:2}")
else
    mapfile -t sources < <(git ls-files '*.cpp' '*.h')
fi
if ! clang-format --dry-run --Werror "${sources[@]}"; then
    echo "style: run 'clang-format -i' on the files above" >&2
    exit 1
fi
echo "style: ${#sources[@]} files formatted"

# The Windows files are not in a Linux build's compile database; the Wine build checks them.
files="(about|app|engine|platform|ui|tests|bench)/.*"
if [ $# -gt 1 ]; then
    files="($(printf '%s\n' "${sources[@]}" | sed 's/[.+]/\\&/g' | paste -sd '|'))"
fi
run-clang-tidy -p "$build" -quiet -j "$(nproc)" "^$top/$files\$" \
    >"$build/clang-tidy.log" 2>&1 || {
    sed 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" | grep -E -A3 '(error|warning):' >&2
    echo "clang-tidy: findings above (whole log: $build/clang-tidy.log)" >&2
    exit 1
}
echo "clang-tidy: clean"
