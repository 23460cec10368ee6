#!/usr/bin/env bash
# skinned_repaint_instructions.sh [BUILD_DIR]: counts, with callgrind, the instructions of one
# full repaint of the main window on its busiest page (Real-time Control), plain and skinned,
# headless. The count does not move with the machine's load, unlike times.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/release}
bash "$root/scripts/deps.sh" valgrind
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Instructions inside RepaintMainWindow over N repaints (N runs of one iteration each); $2 is
# 0 for the plain look, 1 for the skin.
count() {
    valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*RepaintMainWindow*' \
        --callgrind-out-file="$tmp/cg.$1.$2" "$dir/bin/bench_app_skin" \
        --benchmark_filter="BM_RepaintBusiestPage/$2\$" --benchmark_min_time=0 \
        --benchmark_repetitions="$1" \
        > "$tmp/log.$1.$2" 2>&1 || { cat "$tmp/log.$1.$2"; exit 1; }
    callgrind_annotate "$tmp/cg.$1.$2" | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }'
}
for look in 0 1; do
    one=$(count 1 $look)
    three=$(count 3 $look)
    name=plain
    [ "$look" = 1 ] && name=skinned
    echo "instructions per full repaint of the busiest page, $name: $(((three - one) / 2))"
done
