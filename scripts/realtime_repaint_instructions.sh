#!/usr/bin/env bash
# realtime_repaint_instructions.sh [BUILD_DIR]: counts, with callgrind, the instructions of one
# full repaint of the Real-time Control page (68 indicators, 68 buttons, 64 mask boxes, four
# panels with their labels and edits), headless. The count does not move with the machine's
# load, unlike times.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/release}
bash "$root/scripts/deps.sh" valgrind
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Instructions inside RepaintRealtimePage over N repaints (N runs of one iteration each).
count() {
    valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*RepaintRealtimePage*' \
        --callgrind-out-file="$tmp/cg.$1" "$dir/bin/bench_realtime" \
        --benchmark_filter=BM_FullRepaintOfThePage --benchmark_min_time=0 \
        --benchmark_repetitions="$1" \
        > "$tmp/log.$1" 2>&1 || { cat "$tmp/log.$1"; exit 1; }
    callgrind_annotate "$tmp/cg.$1" | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }'
}
one=$(count 1)
three=$(count 3)
echo "instructions per full repaint of the page: $(((three - one) / 2))"
