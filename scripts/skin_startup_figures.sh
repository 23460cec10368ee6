#!/usr/bin/env bash
# skin_startup_figures.sh [BUILD_DIR] [RUNS]: what the skin costs at start-up, the console
# skinned beside the same with --no-skin, alternating, in one run (default 3 of each, after
# one unmeasured run of each that writes the font face cache):
#   - instructions from start to exit after the first frame, headless (callgrind; the count
#     does not move with the machine's load),
#   - the peak resident size (VmHWM) of that run, headless, and CPU time of it,
#   - when Xvfb is installed, CPU time and peak resident size under X (its own server; the
#     display number from VELMOR_XVFB_DISPLAY, e.g. :74).
# Prints every run, the medians and the ratios skinned / plain.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/release}
runs=${2:-3}
bash "$root/scripts/deps.sh" valgrind
# Always brought up to date: a program left from an older build would be measured instead.
cmake --build "$dir" -j2 --target velmor-manager velmor-run-timed > /dev/null
tmp=$(mktemp -d)
xvfb_stop() { :; }
trap 'xvfb_stop; rm -rf "$tmp"' EXIT
export VELMOR_FONT_CACHE=$tmp/font-faces
looks=(skinned plain)
look_args() { [ "$1" = plain ] && echo --no-skin || true; }

# One run: "instructions" (callgrind) or "wall_us cpu_us peak_kb" (run_timed).
instructions() {
    rm -rf "$tmp/settings" && mkdir "$tmp/settings"
    # shellcheck disable=SC2046
    valgrind --tool=callgrind --callgrind-out-file="$tmp/cg" "$dir/bin/velmor-manager" \
        --headless --settings-dir "$tmp/settings" --exit-after-first-frame $(look_args "$1") \
        > "$tmp/log" 2>&1 || { cat "$tmp/log" >&2; exit 1; }
    callgrind_annotate "$tmp/cg" | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }'
}
timed() {
    local look=$1
    shift
    rm -rf "$tmp/settings" && mkdir "$tmp/settings"
    # shellcheck disable=SC2046
    if ! "$dir/bin/velmor-run-timed" "$dir/bin/velmor-manager" "$@" --settings-dir \
        "$tmp/settings" --exit-after-first-frame $(look_args "$look") > /dev/null 2> "$tmp/run"; then
        echo "failed: $look $*" >&2
        cat "$tmp/run" >&2
        exit 1
    fi
    local peak
    peak=$(awk '/^peak_rss_kb/ { print $2 }' "$tmp/run")
    echo "$(tail -1 "$tmp/run") $peak"
}
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

# measure LABEL ARGS...: RUNS alternating runs of both looks with run_timed.
measure() {
    local label=$1
    shift
    local -a cpu_skinned=() cpu_plain=() peak_skinned=() peak_plain=()
    for look in "${looks[@]}"; do timed "$look" "$@" > /dev/null; done
    for i in $(seq "$runs"); do
        for look in "${looks[@]}"; do
            read -r w c p < <(timed "$look" "$@")
            printf '%s run %d %-8s wall %7.1f ms  CPU %5.1f ms  peak resident %6d kB\n' \
                "$label" "$i" "$look" "$(awk -v v="$w" 'BEGIN { print v / 1000 }')" \
                "$(awk -v v="$c" 'BEGIN { print v / 1000 }')" "$p"
            eval "cpu_$look+=($c); peak_$look+=($p)"
        done
    done
    local cs cp ps pp
    cs=$(median "${cpu_skinned[@]}")
    cp=$(median "${cpu_plain[@]}")
    ps=$(median "${peak_skinned[@]}")
    pp=$(median "${peak_plain[@]}")
    printf '%s, median of %d: CPU skinned %.1f ms, plain %.1f ms (%sx); peak resident skinned %d kB, plain %d kB (the skin adds %d kB)\n' \
        "$label" "$runs" "$(awk -v v="$cs" 'BEGIN { print v / 1000 }')" \
        "$(awk -v v="$cp" 'BEGIN { print v / 1000 }')" "$(ratio "$cs" "$cp")" "$ps" "$pp" \
        $((ps - pp))
}

# Headless instructions.
timed skinned --headless > /dev/null
declare -a ir_skinned=() ir_plain=()
for i in $(seq "$runs"); do
    for look in "${looks[@]}"; do
        n=$(instructions "$look")
        printf 'headless run %d %-8s %12d instructions\n' "$i" "$look" "$n"
        eval "ir_$look+=($n)"
    done
done
is=$(median "${ir_skinned[@]}")
ip=$(median "${ir_plain[@]}")
echo "headless, start to exit after the first frame: skinned $is instructions, plain $ip ($(ratio "$is" "$ip")x)"

measure headless --headless

if command -v Xvfb > /dev/null 2>&1; then
    # shellcheck source=scripts/xvfb_session.sh
    . "$root/scripts/xvfb_session.sh"
    xvfb_start
    measure X11
fi
