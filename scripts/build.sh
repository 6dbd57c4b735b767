#!/usr/bin/env bash
# Configures and builds tapetor into build/ (or the folder given).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build}
cmake -S "$top" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$out" -j "$(nproc)"
