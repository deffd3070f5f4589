#!/usr/bin/env bash
# bench/convert_memory_bench.sh [BUILD_DIR] [WIDTH HEIGHT]: the peak memory of
# converting a WIDTH x HEIGHT RLE8 picture (default 12000 x 12000, a 1 MB
# file that becomes 432 MB) streamed into a sink, against converting it into
# one vector in memory, measured in the same run.
set -euo pipefail

cd "$(dirname "$0")/.."
build=${1:-build}
width=${2:-12000}
height=${3:-12000}
cmake --build "$build" --target veilnote_convert_memory veilnote_time_run >/dev/null
timer=$build/bin/veilnote_time_run
driver=$build/bin/veilnote_convert_memory
[ -x "$driver" ] || driver=$build/bench/veilnote_convert_memory
[ -x "$timer" ] || timer=$build/bench/veilnote_time_run

read -r _ stream_kib < <("$timer" "$driver" stream "$width" "$height")
read -r _ whole_kib < <("$timer" "$driver" whole "$width" "$height")
echo "streamed: $((stream_kib / 1024)) MiB peak; whole: $((whole_kib / 1024)) MiB peak"
awk -v s="$stream_kib" -v w="$whole_kib" 'BEGIN { printf "ratio streamed/whole: %.3f\n", s / w }'
