#!/usr/bin/env bash
# idle_share.sh [BUILD_DIR] [SECONDS] [ROUNDS]: the CPU share of one core the console takes
# while idle under X, beside a bare loop that sleeps in poll(10 ms) (the floor), measured side
# by side in the same run from /proc/PID/schedstat. Two consoles run at once:
#   first     idle on its first page, no link open;
#   realtime  on the Real-time Control page with four devices of sequencer-sim on 127.0.0.1
#             (IDs 1 to 4), polled in turn every 100 ms, so each device every 400 ms;
#   serial    the same over the serial link: COM1 is the pseudo-terminal of a simulator of
#             its own (sequencer-sim --pty), as with a sequencer on an RS-232 line;
# and a second floor, link (velmor-floor-link-loop): the bare loop plus the least traffic of
# the realtime console (one PollStatus sent and one reply read per 100 ms, against a simulator
# of its own), so that rt/link shows what the console adds to the traffic itself.
# Prints the four shares and the ratios per round (SECONDS each, default 8; ROUNDS default
# 3), the wake-ups per second of each (context switches), then the system calls of each over
# 3 s when strace is installed (a quiet tick of the first-page console should be one wait).
# Starts its own Xvfb (VELMOR_XVFB_DISPLAY picks the display number). With VELMOR_IDLE_BEFORE
# naming the velmor-manager of another build, that one runs too, on its first page and on the
# Real-time Control page (against a second simulator), and its shares are printed as well
# (before/f, before-rt/f), to compare two builds in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/release}
seconds=${2:-8}
rounds=${3:-3}
if [ ! -x "$dir/bin/velmor-manager" ] || [ ! -x "$dir/bin/velmor-floor-poll-loop" ] ||
    [ ! -x "$dir/bin/velmor-floor-link-loop" ] || [ ! -x "$dir/bin/sequencer-sim" ]; then
    cmake --build "$dir" -j2 --target velmor-manager velmor-floor-poll-loop \
        velmor-floor-link-loop sequencer-sim
fi
# shellcheck source=scripts/xvfb_session.sh
. "$root/scripts/xvfb_session.sh"
# shellcheck source=scripts/sim_session.sh
. "$root/scripts/sim_session.sh"
tmp=$(mktemp -d)
first=
realtime=
serial=
floor=
link=
sim=
sim3=
before=
before_rt=
sim2=
simp=
cleanup() {
    for p in "$first" "$realtime" "$serial" "$floor" "$link" "$sim" "$sim3" "$before" "$before_rt" "$sim2" "$simp"; do
        [ -n "$p" ] && kill "$p" 2> /dev/null || true
    done
    for p in "$first" "$realtime" "$serial" "$floor" "$link" "$sim" "$sim3" "$before" "$before_rt" "$sim2" "$simp"; do
        [ -n "$p" ] && wait "$p" 2> /dev/null || true
    done
    xvfb_stop
    rm -rf "$tmp"
}
trap cleanup EXIT
xvfb_start

# start_sim NAME LINE...: a simulator of the four devices on LINE (--tcp 127.0.0.1:0 or --pty);
# its pid in $sim_pid, its port or terminal in $sim_at.
start_sim() {
    local name=$1
    shift
    sim_start "$dir/bin/sequencer-sim" "$tmp/$name.out" "$@" --devices 1,2,3,4 || exit 1
}
start_sim sim --tcp 127.0.0.1:0
sim=$sim_pid
port=$sim_at
realtime_page_script "$tmp/realtime.script" tcp
# The same page over the serial link: COM1 is the simulator's pseudo-terminal.
start_sim simp --pty
simp=$sim_pid
pty=$sim_at
realtime_page_script "$tmp/serial.script" serial

mkdir -p "$tmp/first" "$tmp/realtime" "$tmp/serial"
"$dir/bin/velmor-manager" --settings-dir "$tmp/first" > "$tmp/first.log" 2>&1 &
first=$!
"$dir/bin/velmor-manager" --settings-dir "$tmp/realtime" --tcp-port "$port" \
    --script "$tmp/realtime.script" > "$tmp/realtime.log" 2>&1 &
realtime=$!
"$dir/bin/velmor-manager" --settings-dir "$tmp/serial" --com "1=$pty" \
    --script "$tmp/serial.script" > "$tmp/serial.log" 2>&1 &
serial=$!
if [ -n "${VELMOR_IDLE_BEFORE:-}" ]; then
    mkdir -p "$tmp/before" "$tmp/before_rt"
    "$VELMOR_IDLE_BEFORE" --settings-dir "$tmp/before" > "$tmp/before.log" 2>&1 &
    before=$!
    start_sim sim2 --tcp 127.0.0.1:0
    sim2=$sim_pid
    "$VELMOR_IDLE_BEFORE" --settings-dir "$tmp/before_rt" --tcp-port "$sim_at" \
        --script "$tmp/realtime.script" > "$tmp/before_rt.log" 2>&1 &
    before_rt=$!
fi
"$dir/bin/velmor-floor-poll-loop" &
floor=$!
start_sim sim3 --tcp 127.0.0.1:0
sim3=$sim_pid
"$dir/bin/velmor-floor-link-loop" "$sim_at" > "$tmp/link.log" 2>&1 &
link=$!
sleep 3  # start-up done, first frame shown, the script has reached its wait
for who in first realtime serial link; do
    pid=${!who}
    kill -0 "$pid" 2> /dev/null || { echo "the $who console ended:"; cat "$tmp/$who.log"; exit 1; }
done

# share_row LABEL FIRST REALTIME SERIAL LINK FLOOR ELAPSED (CPU and elapsed in ns)
share_row() {
    awk -v r="$1" -v a="$2" -v b="$3" -v s="$4" -v l="$5" -v f="$6" -v t="$7" 'BEGIN {
        printf "%-6s %9.3f%% %9.3f%% %9.3f%% %9.3f%% %9.3f%% %6.2fx %6.2fx %6.2fx %6.2fx %6.2fx\n",
            r, 100 * a / t, 100 * b / t, 100 * s / t, 100 * l / t, 100 * f / t,
            a / f, b / f, s / f, l / f, b / l }'
}
cpu_ns() { awk '{ print $1 }' "/proc/$1/schedstat"; }
switches() { awk '{ print $3 }' "/proc/$1/schedstat"; }
now_ns() { date +%s%N; }
echo "CPU share of one core, idle, ${seconds} s per round, DISPLAY=$DISPLAY"
echo "first: the console on its first page; realtime: on the Real-time Control page, four"
echo "devices polled over TCP; serial: the same over a pseudo-terminal; floor: poll(10 ms);"
echo "link: the floor plus the realtime console's least traffic. Ratios are against the floor"
echo "(/f) or the link floor (/link) of the same round."
printf '%-6s %10s %10s %10s %10s %10s %7s %7s %7s %7s %7s\n' round first realtime serial link \
    floor first/f rt/f ser/f link/f rt/link
tot_a=0 tot_b=0 tot_s=0 tot_l=0 tot_f=0 tot_t=0 sw_a=0 sw_b=0 sw_s=0 sw_l=0 sw_f=0
for r in $(seq "$rounds"); do
    a0=$(cpu_ns "$first") b0=$(cpu_ns "$realtime") s0=$(cpu_ns "$serial")
    l0=$(cpu_ns "$link") f0=$(cpu_ns "$floor")
    x0=0 x1=0 y0=0 y1=0
    [ -n "$before" ] && x0=$(cpu_ns "$before") && y0=$(cpu_ns "$before_rt")
    wa0=$(switches "$first") wb0=$(switches "$realtime") ws0=$(switches "$serial")
    wl0=$(switches "$link")
    wf0=$(switches "$floor")
    t0=$(now_ns)
    sleep "$seconds"
    a1=$(cpu_ns "$first") b1=$(cpu_ns "$realtime") s1=$(cpu_ns "$serial")
    l1=$(cpu_ns "$link") f1=$(cpu_ns "$floor")
    [ -n "$before" ] && x1=$(cpu_ns "$before") && y1=$(cpu_ns "$before_rt")
    wa1=$(switches "$first") wb1=$(switches "$realtime") ws1=$(switches "$serial")
    wl1=$(switches "$link")
    wf1=$(switches "$floor")
    t1=$(now_ns)
    da=$((a1 - a0)) db=$((b1 - b0)) ds=$((s1 - s0)) dl=$((l1 - l0)) df=$((f1 - f0))
    dt=$((t1 - t0))
    tot_a=$((tot_a + da)) tot_b=$((tot_b + db)) tot_s=$((tot_s + ds)) tot_l=$((tot_l + dl))
    tot_f=$((tot_f + df)) tot_t=$((tot_t + dt))
    sw_a=$((sw_a + wa1 - wa0)) sw_b=$((sw_b + wb1 - wb0)) sw_s=$((sw_s + ws1 - ws0))
    sw_l=$((sw_l + wl1 - wl0)) sw_f=$((sw_f + wf1 - wf0))
    if [ -n "$before" ]; then
        awk -v c="$((x1 - x0))" -v d="$((y1 - y0))" -v f="$df" -v l="$dl" -v t="$dt" 'BEGIN {
            printf "%-6s %9.3f%% %9.3f%%  (the other build: first page %.2fx, real-time %.2fx the floor, %.2fx the link floor)\n",
                "before", 100 * c / t, 100 * d / t, c / f, d / f, d / l }'
    fi
    share_row "$r" "$da" "$db" "$ds" "$dl" "$df" "$dt"
done
share_row all "$tot_a" "$tot_b" "$tot_s" "$tot_l" "$tot_f" "$tot_t"
awk -v a="$sw_a" -v b="$sw_b" -v s="$sw_s" -v l="$sw_l" -v f="$sw_f" -v t="$tot_t" 'BEGIN {
    printf "%-6s %10.1f %10.1f %10.1f %10.1f %10.1f   (wake-ups per second)\n",
        "wakes", a * 1e9 / t, b * 1e9 / t, s * 1e9 / t, l * 1e9 / t, f * 1e9 / t }'

if command -v strace > /dev/null 2>&1; then
    for who in first realtime serial link floor; do
        pid=${!who}
        echo "system calls of $who over 3 s:"
        timeout -s INT 3 strace -c -p "$pid" -o "$tmp/strace.$who" 2> /dev/null || true
        cat "$tmp/strace.$who"
    done
fi
