#!/usr/bin/env bash
# Configures and builds tapetor into build/ (or the folder given): everything, or only
# the targets named after the folder.
# Usage: scripts/build.sh [DIR [TARGET...]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build}
cmake -S "$top" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
if [ $# -gt 1 ]; then
    cmake --build "$out" -j "$(nproc)" --target "${@:2}"
else
    cmake --build "$out" -j "$(nproc)"
fi
