#!/bin/bash
# Peak memory and time of loading files that are no collections, beside an empty
# file and a full collection of ordinary paths:
#
#   bench/collection_memory.sh [BUILD_DIR]      (default: build/)
#
# Needs /usr/bin/time (Debian package `time`); writes about 1.2 GB of scratch files.

set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$ROOT/build}")
ninja -C "$BUILD" -j2 bench_load >/dev/null || exit 1
LOAD=$BUILD/bench/bench_load

T=$(mktemp -d "${TMPDIR:-/tmp}/tapetor-bench.XXXXXX")
trap 'rm -rf "$T"' EXIT

: >"$T/empty.tkl"
for i in $(seq -w 0 32766); do
    printf '/home/eva/Obrázky/dovolená %s/snímek.jpg\r\n' "$i"
done >"$T/full.tkl"
# The fullest list the reader lets through: lines of a path's full length.
head -c 4096 /dev/zero | tr '\0' 'p' | sed 's/$/\r/' >"$T/line"
for _ in $(seq 32768); do cat "$T/line"; done >"$T/longest.tkl" 2>/dev/null
head -c 1073741824 /dev/zero | tr '\0' 'x' >"$T/gigabyte-no-line-ends.tkl"
head -c 104857600 /dev/urandom >"$T/random-100MB.tkl"
# Random bytes with no NUL in them, so only the other limits stop the reading.
tr -d '\0' <"$T/random-100MB.tkl" >"$T/random-no-nul.tkl"

printf '%-28s %12s %10s  %s\n' "file" "peak RSS kB" "wall s" "result"
for name in empty full longest gigabyte-no-line-ends random-100MB random-no-nul; do
    out=$(/usr/bin/time -f '%M %e' "$LOAD" "$T/$name.tkl" 2>"$T/time")
    read -r rss wall < <(tail -n 1 "$T/time")
    printf '%-28s %12s %10s  %s\n' "$name" "$rss" "$wall" "$out"
done
