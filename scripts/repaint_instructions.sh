#!/usr/bin/env bash
# repaint_instructions.sh [BUILD_DIR]: counts, with callgrind, the instructions of one full
# repaint of the demonstration window (1265 x 693, 242 child windows: invalidating everything,
# frame included, then painting and composing it headless). The count does not move with the
# machine's load, unlike times.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/release}
bash "$root/scripts/deps.sh" valgrind
if [ ! -x "$dir/bin/velmor-win-demo" ]; then
    bash "$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Instructions spent inside demo::RepaintFully over N repaints after the first frame.
count() {
    valgrind --tool=callgrind --collect-atstart=no --toggle-collect='demo::RepaintFully*' \
        --callgrind-out-file="$tmp/cg.$1" "$dir/bin/velmor-win-demo" --headless --repaints "$1" \
        > "$tmp/log.$1" 2>&1 || { cat "$tmp/log.$1"; exit 1; }
    callgrind_annotate "$tmp/cg.$1" | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }'
}
one=$(count 1)
three=$(count 3)
echo "instructions per full repaint: $(((three - one) / 2)) (the first after the first frame: $one)"
