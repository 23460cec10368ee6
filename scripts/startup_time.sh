#!/usr/bin/env bash
# startup_time.sh [BUILD_DIR] [RUNS]: start-up under X, measured side by side in one run: the
# console from its start to its exit after the first frame is on the display
# (--exit-after-first-frame), beside the floor, a bare Xlib program that maps one window of the
# same size and puts one shared-memory image on it (velmor-floor-bare-window). Both run RUNS
# times (default 7), alternating, after one unmeasured warm-up run each (a warm start: files in
# the page cache, the font face cache written). Prints every run (wall and CPU time), the
# medians and their ratios.
# Starts its own Xvfb (VELMOR_XVFB_DISPLAY picks the display number).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/release}
runs=${2:-7}
if [ ! -x "$dir/bin/velmor-manager" ] || [ ! -x "$dir/bin/velmor-floor-bare-window" ] ||
    [ ! -x "$dir/bin/velmor-run-timed" ]; then
    cmake --build "$dir" -j2 --target velmor-manager velmor-floor-bare-window velmor-run-timed
fi
# shellcheck source=scripts/xvfb_session.sh
. "$root/scripts/xvfb_session.sh"
tmp=$(mktemp -d)
trap 'xvfb_stop; rm -rf "$tmp"' EXIT
xvfb_start
# The console's own settings and font cache, as on a machine where it has run before.
export VELMOR_FONT_CACHE=$tmp/font-faces
console=("$dir/bin/velmor-manager" --settings-dir "$tmp" --exit-after-first-frame)
floor=("$dir/bin/velmor-floor-bare-window")

# "wall_us cpu_us" of one run.
timed() {
    if ! "$dir/bin/velmor-run-timed" "$@" > /dev/null 2> "$tmp/run"; then
        echo "failed: $*" >&2
        cat "$tmp/run" >&2
        exit 1
    fi
    tail -1 "$tmp/run"
}
# Three programs, each run once unmeasured first: the console with its font face cache (a
# warm start), the console asking fontconfig as it did before the cache (VELMOR_FONT_CACHE
# empty), and the floor.
names=("console" "console, fontconfig asked" "bare window")
run_one() {
    case $1 in
        0) timed "${console[@]}" ;;
        1) timed env VELMOR_FONT_CACHE= "${console[@]}" ;;
        2) timed "${floor[@]}" ;;
    esac
}
declare -a wall0 wall1 wall2 cpu0 cpu1 cpu2
for k in 0 1 2; do run_one "$k" > /dev/null; done
printf '%-4s' run
for k in 0 1 2; do printf ' %30s' "${names[$k]} wall / CPU"; done
echo
for i in $(seq "$runs"); do
    printf '%-4s' "$i"
    for k in 0 1 2; do
        read -r w c < <(run_one "$k")
        eval "wall$k+=($w); cpu$k+=($c)"
        awk -v w="$w" -v c="$c" 'BEGIN { printf " %23.1f / %4.1f ms", w / 1000, c / 1000 }'
    done
    echo
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for what in wall cpu; do
    eval "m0=\$(median \"\${${what}0[@]}\"); m1=\$(median \"\${${what}1[@]}\"); m2=\$(median \"\${${what}2[@]}\")"
    awk -v what="$what" -v n="$runs" -v a="$m0" -v b="$m1" -v c="$m2" 'BEGIN {
        label = what == "wall" ? "start to exit" : "CPU time"
        printf "median of %d, %-13s: console %.1f ms (%.2fx the bare window), with fontconfig asked %.1f ms (%.2fx), bare window %.1f ms\n", n, label, a / 1000, a / c, b / 1000, b / c, c / 1000 }'
done
