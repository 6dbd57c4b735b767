#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each one for a short,
# bounded time from its seed corpus. Fails when a target crashes, hangs, runs out of
# memory or breaks one of its properties; the input that did it is kept in the build
# folder as <target>-crash-..., <target>-timeout-... or <target>-oom-...
#
# Usage: scripts/test-fuzz.sh [BUILD_DIR] [SECONDS_PER_TARGET]
#        (defaults: build-fuzz, 30 seconds; README.md says how to run them longer)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build-fuzz}
seconds=${2:-30}
targets=(collection settings_text exec_quoting kde_script picture)

"$top/scripts/install-deps.sh" build fuzz
cmake -S "$top/fuzz" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$out" -j "$(nproc)"

work=$(mktemp -d "${TMPDIR:-/tmp}/tapetor-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
if [ -x /usr/lib/llvm-14/bin/llvm-symbolizer ]; then
    export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
fi

failed=()
for target in "${targets[@]}"; do
    log=$out/$target.log
    mkdir -p "$work/$target"
    # New inputs go to the scratch folder; the seeds in the repository stay as they are.
    # A picture may be as large as the loader allows (1 GiB decoded), hence the memory.
    if TMPDIR=$work "$out/fuzz_$target" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=3072 \
        -artifact_prefix="$out/$target-" -print_final_stats=1 \
        "$work/$target" "$top/fuzz/corpus/$target" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz_$target: ${runs:-?} inputs in ${seconds} s, no failure"
    else
        echo "fuzz_$target FAILED (log: $log)"
        grep -E 'ERROR|property broken|runtime error|Test unit written' -A 12 "$log" | head -60 || tail -n 40 "$log"
        failed+=("$target")
    fi
done

if [ "${#failed[@]}" -gt 0 ]; then
    echo "Fuzzing failed: ${failed[*]}"
    exit 1
fi
