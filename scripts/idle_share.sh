#!/usr/bin/env bash
# idle_share.sh [BUILD_DIR] [SECONDS] [ROUNDS]: the CPU share of one core the console takes
# while idle under X, beside a bare loop that sleeps in poll(10 ms) (the floor), measured side
# by side in the same run from /proc/PID/schedstat. Three consoles run at once:
#   first     idle on its first page, no link open;
#   realtime  on the Real-time Control page with four devices of sequencer-sim on 127.0.0.1
#             (IDs 1 to 4), polled in turn every 100 ms, so each device every 400 ms;
#   serial    the same over the serial link: COM1 is the pseudo-terminal of a simulator of
#             its own (sequencer-sim --pty), as with a sequencer on an RS-232 line;
# and two more floors, each the bare loop plus the least traffic of the page on one link (one
# PollStatus sent and one reply read per 100 ms, against a simulator of its own;
# velmor-floor-link-loop): link over TCP, slink over a pseudo-terminal. rt/link and ser/slink
# show what the console adds to the traffic itself.
# Prints the shares and the ratios per round (SECONDS each, default 8; ROUNDS default 3), the
# wake-ups per second of each (context switches), then the system calls of each over 3 s when
# strace is installed (a quiet tick of the first-page console should be one wait).
# Starts its own Xvfb (VELMOR_XVFB_DISPLAY picks the display number). With VELMOR_IDLE_BEFORE
# naming the velmor-manager of another build, that one runs too, on its first page and on the
# Real-time Control page over TCP (against a simulator of its own), and its shares are printed
# as well, to compare two builds in the same run.
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
declare -A pid    # what is measured, by name
started=()        # every process started, simulators included
cleanup() {
    for p in "${started[@]}"; do kill "$p" 2> /dev/null || true; done
    for p in "${started[@]}"; do wait "$p" 2> /dev/null || true; done
    xvfb_stop
    rm -rf "$tmp"
}
trap cleanup EXIT
xvfb_start

# start NAME PROGRAM ARG...: starts what is measured as NAME, its output in $tmp/NAME.log.
start() {
    local name=$1
    shift
    "$@" > "$tmp/$name.log" 2>&1 &
    pid[$name]=$!
    started+=("$!")
}
# start_sim NAME LINE...: a simulator of the four devices on LINE (--tcp 127.0.0.1:0 or --pty);
# its port or terminal in $sim_at.
start_sim() {
    local name=$1
    shift
    sim_start "$dir/bin/sequencer-sim" "$tmp/$name.out" "$@" --devices 1,2,3,4 || exit 1
    started+=("$sim_pid")
}
# start_console NAME ARG...: a console with settings of its own, started as a first start.
start_console() {
    local name=$1 program=$dir/bin/velmor-manager
    shift
    [ "${name#before}" != "$name" ] && program=$VELMOR_IDLE_BEFORE
    mkdir -p "$tmp/$name.settings"
    start "$name" "$program" --settings-dir "$tmp/$name.settings" "$@"
}

realtime_page_script "$tmp/tcp.script" tcp
realtime_page_script "$tmp/serial.script" serial
names=(first realtime serial link slink floor)
start_console first
start_sim sim --tcp 127.0.0.1:0
start_console realtime --tcp-port "$sim_at" --script "$tmp/tcp.script"
start_sim simp --pty
start_console serial --com "1=$sim_at" --script "$tmp/serial.script"
start_sim siml --tcp 127.0.0.1:0
start link "$dir/bin/velmor-floor-link-loop" "$sim_at"
start_sim simsl --pty
start slink "$dir/bin/velmor-floor-link-loop" "$sim_at"
start floor "$dir/bin/velmor-floor-poll-loop"
if [ -n "${VELMOR_IDLE_BEFORE:-}" ]; then
    names+=(before before_rt)
    start_console before
    start_sim simb --tcp 127.0.0.1:0
    start_console before_rt --tcp-port "$sim_at" --script "$tmp/tcp.script"
fi
sleep 3  # start-up done, first frame shown, the scripts have reached their wait
for who in "${names[@]}"; do
    kill -0 "${pid[$who]}" 2> /dev/null || { echo "$who ended:"; cat "$tmp/$who.log"; exit 1; }
done

# schedstat: CPU time in ns, wait time, timeslices run (the wake-ups).
cpu_ns() { awk '{ print $1 }' "/proc/$1/schedstat"; }
switches() { awk '{ print $3 }' "/proc/$1/schedstat"; }
now_ns() { date +%s%N; }
# share_row LABEL ELAPSED_NS: one row from the CPU nanoseconds in cpu[NAME].
share_row() {
    local values=()
    for who in "${names[@]}"; do values+=("$who=${cpu[$who]}"); done
    awk -v r="$1" -v t="$2" -v v="${values[*]}" 'BEGIN {
        n = split(v, kv, " ")
        for (i = 1; i <= n; i++) { split(kv[i], p, "="); c[p[1]] = p[2] }
        f = c["floor"]
        printf "%-6s %7.3f%% %7.3f%% %7.3f%% %7.3f%% %7.3f%% %7.3f%%  %6.2fx %6.2fx %6.2fx %6.2fx %6.2fx %6.2fx %6.2fx\n",
            r, 100 * c["first"] / t, 100 * c["realtime"] / t, 100 * c["serial"] / t,
            100 * c["link"] / t, 100 * c["slink"] / t, 100 * f / t,
            c["first"] / f, c["realtime"] / f, c["serial"] / f, c["link"] / f, c["slink"] / f,
            c["realtime"] / c["link"], c["serial"] / c["slink"]
        if ("before" in c)
            printf "%-6s %7.3f%% %7.3f%%  (the other build: first page %.2fx, real-time %.2fx the floor, %.2fx the link floor)\n",
                "before", 100 * c["before"] / t, 100 * c["before_rt"] / t, c["before"] / f,
                c["before_rt"] / f, c["before_rt"] / c["link"] }'
}

echo "CPU share of one core, idle, ${seconds} s per round, DISPLAY=$DISPLAY"
echo "first: the console on its first page; realtime: on the Real-time Control page, four"
echo "devices polled over TCP; serial: the same over a pseudo-terminal; floor: poll(10 ms);"
echo "link, slink: the floor plus the page's least traffic over TCP, over a pseudo-terminal."
echo "Ratios are against the floor (/f) or the traffic's floor of the same round."
printf '%-6s %8s %8s %8s %8s %8s %8s  %7s %7s %7s %7s %7s %7s %7s\n' round first realtime \
    serial link slink floor first/f rt/f ser/f link/f slink/f rt/link ser/sl
declare -A cpu start_cpu total wakes start_wakes
for who in "${names[@]}"; do total[$who]=0 wakes[$who]=0; done
elapsed=0
for r in $(seq "$rounds"); do
    for who in "${names[@]}"; do
        start_cpu[$who]=$(cpu_ns "${pid[$who]}") start_wakes[$who]=$(switches "${pid[$who]}")
    done
    t0=$(now_ns)
    sleep "$seconds"
    t1=$(now_ns)
    for who in "${names[@]}"; do
        cpu[$who]=$(($(cpu_ns "${pid[$who]}") - start_cpu[$who]))
        total[$who]=$((total[$who] + cpu[$who]))
        wakes[$who]=$((wakes[$who] + $(switches "${pid[$who]}") - start_wakes[$who]))
    done
    elapsed=$((elapsed + t1 - t0))
    share_row "$r" "$((t1 - t0))"
done
for who in "${names[@]}"; do cpu[$who]=${total[$who]}; done
share_row all "$elapsed"
printf '%-6s' wakes
for who in first realtime serial link slink floor; do
    awk -v w="${wakes[$who]}" -v t="$elapsed" 'BEGIN { printf " %8.1f", w * 1e9 / t }'
done
echo "   (wake-ups per second)"

if command -v strace > /dev/null 2>&1; then
    for who in first realtime serial link slink floor; do
        echo "system calls of $who over 3 s:"
        timeout -s INT 3 strace -c -p "${pid[$who]}" -o "$tmp/strace.$who" 2> /dev/null || true
        cat "$tmp/strace.$who"
    done
fi
