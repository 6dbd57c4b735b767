#!/usr/bin/env bash
# Runs the desktop cases again and again with two busy processes beside them, the load
# under which keys and clicks used to go astray, and prints how often each case passed.
# Usage: scripts/test-soak.sh [ROUNDS] [LABEL] [build folder]
#   ROUNDS: 20 by default; LABEL: desktop (the default) or real-desktop, as ctest's -L
# Ends with 1 when any case failed in any round; the failures' output is kept in
# BUILD/soak/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-20}
label=${2:-desktop}
build=${3:-"$top/build"}
logs=$build/soak
mkdir -p "$logs"

"$top/scripts/install-deps.sh" build test desktops
"$top/scripts/build.sh" "$build"

hogs=()
stop_hogs() { [ "${#hogs[@]}" -eq 0 ] || kill "${hogs[@]}" 2>/dev/null || true; }
trap stop_hogs EXIT
for _ in 1 2; do
    sh -c 'while :; do :; done' &
    hogs+=($!)
done

declare -A passed=()
mapfile -t cases < <(ctest --test-dir "$build" -N -L "^$label\$" | sed -n 's/^ *Test *#[0-9]*: //p')
for name in "${cases[@]}"; do passed[$name]=0; done

for round in $(seq "$rounds"); do
    for name in "${cases[@]}"; do
        if ctest --test-dir "$build" -R "^$name\$" --output-on-failure >"$logs/last.log" 2>&1; then
            passed[$name]=$((passed[$name] + 1))
        else
            cp "$logs/last.log" "$logs/$name-round$round.log"
        fi
    done
    echo "soak: round $round of $rounds done"
done

failed=0
for name in "${cases[@]}"; do
    printf '%-44s %d/%d\n' "$name" "${passed[$name]}" "$rounds"
    [ "${passed[$name]}" -eq "$rounds" ] || failed=1
done
exit "$failed"
