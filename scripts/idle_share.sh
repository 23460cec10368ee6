#!/usr/bin/env bash
# idle_share.sh [BUILD_DIR] [SECONDS] [ROUNDS]: the CPU share of one core the console takes
# while idle on its first page under X, beside a bare loop that sleeps in poll(10 ms) (the
# floor), measured side by side in the same run from /proc/PID/schedstat. Prints both shares
# and their ratio per round (SECONDS each, default 8; ROUNDS default 3), then the system calls
# of each over 3 s when strace is installed (a quiet tick of the console should be one poll).
# Starts its own Xvfb (VELMOR_XVFB_DISPLAY picks the display number).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/release}
seconds=${2:-8}
rounds=${3:-3}
if [ ! -x "$dir/bin/velmor-manager" ] || [ ! -x "$dir/bin/velmor-floor-poll-loop" ]; then
    cmake --build "$dir" -j2 --target velmor-manager velmor-floor-poll-loop
fi
# shellcheck source=scripts/xvfb_session.sh
. "$root/scripts/xvfb_session.sh"
tmp=$(mktemp -d)
console=
floor=
cleanup() {
    [ -n "$console" ] && kill "$console" 2> /dev/null || true
    [ -n "$floor" ] && kill "$floor" 2> /dev/null || true
    wait 2> /dev/null || true
    xvfb_stop
    rm -rf "$tmp"
}
trap cleanup EXIT
xvfb_start

"$dir/bin/velmor-manager" --settings-dir "$tmp" > "$tmp/console.log" 2>&1 &
console=$!
"$dir/bin/velmor-floor-poll-loop" &
floor=$!
sleep 2  # start-up done, first frame shown
kill -0 "$console" || { cat "$tmp/console.log"; exit 1; }

cpu_ns() { awk '{ print $1 }' "/proc/$1/schedstat"; }
now_ns() { date +%s%N; }
echo "CPU share of one core, idle, ${seconds} s per round, DISPLAY=$DISPLAY"
printf '%-6s %10s %10s %7s\n' round console floor ratio
total_c=0
total_f=0
total_t=0
for r in $(seq "$rounds"); do
    c0=$(cpu_ns "$console")
    f0=$(cpu_ns "$floor")
    t0=$(now_ns)
    sleep "$seconds"
    c1=$(cpu_ns "$console")
    f1=$(cpu_ns "$floor")
    t1=$(now_ns)
    dc=$((c1 - c0))
    df=$((f1 - f0))
    dt=$((t1 - t0))
    total_c=$((total_c + dc))
    total_f=$((total_f + df))
    total_t=$((total_t + dt))
    awk -v r="$r" -v c="$dc" -v f="$df" -v t="$dt" \
        'BEGIN { printf "%-6s %9.3f%% %9.3f%% %6.2fx\n", r, 100 * c / t, 100 * f / t, c / f }'
done
awk -v c="$total_c" -v f="$total_f" -v t="$total_t" \
    'BEGIN { printf "%-6s %9.3f%% %9.3f%% %6.2fx\n", "all", 100 * c / t, 100 * f / t, c / f }'

if command -v strace > /dev/null 2>&1; then
    for who in console floor; do
        pid=${!who}
        echo "system calls of the $who over 3 s:"
        timeout -s INT 3 strace -c -f -p "$pid" -o "$tmp/strace.$who" 2> /dev/null || true
        cat "$tmp/strace.$who"
    done
fi
