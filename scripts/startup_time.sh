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
timed "${console[@]}" > /dev/null
timed "${floor[@]}" > /dev/null
cw=()
cc=()
fw=()
fc=()
printf '%-4s %21s %21s\n' run "console wall / CPU" "bare window wall / CPU"
for i in $(seq "$runs"); do
    read -r w c < <(timed "${console[@]}")
    cw+=("$w")
    cc+=("$c")
    read -r w c < <(timed "${floor[@]}")
    fw+=("$w")
    fc+=("$c")
    awk -v i="$i" -v a="${cw[-1]}" -v b="${cc[-1]}" -v c="${fw[-1]}" -v d="${fc[-1]}" \
        'BEGIN { printf "%-4s %9.1f / %5.1f ms %9.1f / %5.1f ms\n", i, a / 1000, b / 1000, c / 1000, d / 1000 }'
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
awk -v n="$runs" -v cw="$(median "${cw[@]}")" -v cc="$(median "${cc[@]}")" \
    -v fw="$(median "${fw[@]}")" -v fc="$(median "${fc[@]}")" 'BEGIN {
    printf "median of %d, start to exit: console %.1f ms, bare window %.1f ms, ratio %.2fx\n", n, cw / 1000, fw / 1000, cw / fw
    printf "median of %d, CPU time:      console %.1f ms, bare window %.1f ms, ratio %.2fx\n", n, cc / 1000, fc / 1000, cc / fc }'
