#!/usr/bin/env bash
# lzh_decode_instructions.sh [BUILD_DIR]: counts, with callgrind, the instructions of one decode
# of the default skin package and of the package of noisy bitmaps by the skin decoder, by the
# byte-per-callback decoder it replaced and by the textbook C decoder (bench/skin), in one run
# side by side, and how many times fewer the skin decoder takes. Only the decoding is counted,
# not the making of the packages. Unlike times, the counts do not move with the machine's load.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/release}
bash "$root/scripts/deps.sh" valgrind > /dev/null
cmake --build "$dir" -j2 --target lzh-decode-once > /dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
times=3

# Instructions of one decode (the average of $times).
count() {
    local decoder=$1 package=$2
    valgrind --tool=callgrind --callgrind-out-file="$tmp/cg" \
        --toggle-collect='skin_bench::decode_times*' \
        "$dir/bin/lzh-decode-once" "$decoder" "$package" "$times" > "$tmp/log" 2>&1 ||
        { cat "$tmp/log"; exit 1; }
    callgrind_annotate "$tmp/cg" |
        awk -v n="$times" '/PROGRAM TOTALS/ { gsub(",", "", $1); printf "%d", $1 / n }'
}
for package in default noisy; do
    skin=$(count skin "$package")
    replaced=$(count replaced "$package")
    classic=$(count classic "$package")
    awk -v p="$package" -v s="$skin" -v r="$replaced" -v c="$classic" 'BEGIN {
        printf "%s package, instructions of one decode:\n", p
        printf "  skin decoder       %12d\n", s
        printf "  textbook C         %12d  %.2fx the skin decoder\n", c, c / s
        printf "  byte per callback  %12d  %.2fx the skin decoder\n", r, r / s
    }'
done
