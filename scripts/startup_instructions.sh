#!/usr/bin/env bash
# startup_instructions.sh [BUILD_DIR]: counts, with callgrind, the instructions of a warm start
# under X to the first frame and exit, in one run side by side: the console in the plain look
# (--no-skin --exit-after-first-frame), the console built without the Real-time Control device
# panels and without the Timer Task page (bench/startup), and the bare-window floor
# (velmor-floor-bare-window). Unlike times, the counts do not move with the machine's load.
# Starts its own Xvfb (VELMOR_XVFB_DISPLAY picks the display number).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/release}
bash "$root/scripts/deps.sh" valgrind > /dev/null
programs=(velmor-manager velmor-manager-without-device-panels
    velmor-manager-without-timer-task-page velmor-floor-bare-window)
cmake --build "$dir" -j2 --target "${programs[@]}" > /dev/null
# shellcheck source=scripts/xvfb_session.sh
. "$root/scripts/xvfb_session.sh"
tmp=$(mktemp -d)
trap 'xvfb_stop; rm -rf "$tmp"' EXIT
xvfb_start
export VELMOR_FONT_CACHE=$tmp/font-faces
plain=(--no-skin --settings-dir "$tmp" --exit-after-first-frame)

# Instructions of one run of the program (a warm start: run once before).
count() {
    local name=$1
    shift
    "$@" > /dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    valgrind --tool=callgrind --callgrind-out-file="$tmp/cg.$name" "$@" > "$tmp/log.$name" 2>&1 ||
        { cat "$tmp/log.$name"; exit 1; }
    callgrind_annotate "$tmp/cg.$name" | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }'
}
console=$(count console "$dir/bin/velmor-manager" "${plain[@]}")
panels=$(count panels "$dir/bin/velmor-manager-without-device-panels" "${plain[@]}")
timer=$(count timer "$dir/bin/velmor-manager-without-timer-task-page" "${plain[@]}")
floor=$(count floor "$dir/bin/velmor-floor-bare-window")
awk -v a="$console" -v p="$panels" -v t="$timer" -v f="$floor" 'BEGIN {
    printf "instructions, start to exit after the first frame:\n"
    printf "  console (plain look)         %12d  %.2fx the bare window\n", a, a / f
    printf "  without the device panels    %12d  (the panels add %+.1f %%)\n", p, (a / p - 1) * 100
    printf "  without the Timer Task page  %12d  (the page adds %+.1f %%)\n", t, (a / t - 1) * 100
    printf "  bare window                  %12d\n", f }'
