#!/usr/bin/env bash
# tick_pages.sh [BUILD_DIR] [SECONDS] [PAGE]: the memory pages one wake-up of the idle console
# touches under X, on its first page (PAGE `first`, the default) or on the Real-time Control page
# (PAGE `realtime`: four devices of sequencer-sim on 127.0.0.1 polled in turn, as idle_share.sh has
# them; the wake-ups are then told apart as quiet, polling (a frame sent), reading (a reply handled)
# and both, each with its own count). Runs the console under valgrind's lackey tool, which lists
# every instruction and data access, for SECONDS (default 90: start-up under valgrind takes most of
# it), cuts the accesses into wake-ups at each entry of the display's wait (display::WaitSet::wait),
# and prints for the last 100 wake-ups the pages each touched and, for every page touched by most of
# them, which mapping it lies in (code, data, heap, stack). Each page a wake-up touches costs a TLB
# miss on this machine after the other processes ran, so this count, more than the instructions,
# is what one wake-up of the console costs beyond one of a bare loop. Under valgrind the C library's clock_gettime
# stands in for the vDSO's, so the clock's pages are counted as the C library's and the loader's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/release}
seconds=${2:-90}
page=${3:-first}
# Wake-ups kept for the figures: on the Real-time page the receive loop sleeps between reads, so
# about a third of them poll and a third read.
keep=100
[ "$page" = first ] || keep=400
command -v valgrind > /dev/null 2>&1 || bash "$root/scripts/deps.sh" valgrind
[ -x "$dir/bin/velmor-manager" ] || cmake --build "$dir" -j2 --target velmor-manager
[ "$page" = first ] || [ -x "$dir/bin/sequencer-sim" ] ||
    cmake --build "$dir" -j2 --target sequencer-sim
# shellcheck source=scripts/xvfb_session.sh
. "$root/scripts/xvfb_session.sh"
# shellcheck source=scripts/sim_session.sh
. "$root/scripts/sim_session.sh"
tmp=$(mktemp -d)
sim=
trap '[ -n "$sim" ] && kill "$sim" 2> /dev/null; xvfb_stop; rm -rf "$tmp"' EXIT
xvfb_start

exe="$dir/bin/velmor-manager"
# entry SYMBOL: the address of a function of the program under valgrind, which loads a
# position-independent program at 0x108000.
entry() {
    local offset
    # awk reads all of nm's output: stopping at the find would end nm with SIGPIPE.
    offset=$(nm "$exe" |
        awk -v name="$1" '$3 == name && offset == "" { offset = $1 } END { print offset }')
    printf '%x' $((0x$offset + 0x108000))
}
# Each entry of the display's wait starts a wake-up; one that enters SendFrame or HandleReply
# is a polling one (a frame sent) or a reading one (a reply handled).
marker=$(entry _ZN7display7WaitSet4waitEi)
send_marker=$(entry _ZN6TForm19SendFrameESt4spanIKhLm18446744073709551615EE)
reply_marker=$(entry _ZN6TForm111HandleReplyESt4spanIKhLm18446744073709551615EE)
mkdir -p "$tmp/settings"
args=(--settings-dir "$tmp/settings")
if [ "$page" = realtime ]; then
    sim_start "$dir/bin/sequencer-sim" "$tmp/sim.out" --tcp 127.0.0.1:0 --devices 1,2,3,4 || exit 1
    sim=$sim_pid
    realtime_page_script "$tmp/realtime.script" tcp
    args+=(--tcp-port "$sim_at" --script "$tmp/realtime.script")
fi
timeout -s TERM "$seconds" valgrind --tool=lackey --trace-mem=yes --log-fd=9 \
    "$exe" "${args[@]}" 9> >(
    awk -v marker="$marker" -v send="$send_marker" -v reply="$reply_marker" -v keep="$keep" '
        # Lines: "I  ADDR,SIZE" for an instruction, " L|S|M ADDR,SIZE" for data.
        /^I/ || /^ [LSM]/ {
            split($2, f, ",")
            addr = f[1]
            sub(/^0+/, "", addr)
            if ($1 == "I" && addr == marker) {
                if (tick > 0) {
                    list = " " kind
                    for (p in cur) list = list " " p ":" cur[p]
                    pages[tick] = list
                    delete pages[tick - keep]
                    delete cur
                }
                tick++
                kind = "quiet"
            }
            if ($1 == "I" && (addr == reply || addr == send)) {
                if (kind == "quiet") kind = addr == reply ? "reading" : "polling"
                else if (kind != (addr == reply ? "reading" : "polling")) kind = "polling+reading"
            }
            if (tick == 0) next
            page = substr(addr, 1, length(addr) - 3)
            if ($1 == "I") cur[page] = "code"
            else if (!(page in cur)) cur[page] = "data"
        }
        END {
            for (t = tick - keep; t < tick; t++) if (t in pages) print t pages[t]
        }' > "$tmp/pages.txt") > /dev/null 2>&1 &
runner=$!
sleep $((seconds - 5))
pid=$(pgrep -f "^[^ ]*valgrind[^ ]* --tool=lackey.*--settings-dir $tmp/settings" | head -1 || true)
[ -n "$pid" ] && cat "/proc/$pid/maps" > "$tmp/maps.txt"
wait "$runner" || true
sleep 2
python3 - "$tmp/pages.txt" "$tmp/maps.txt" "$page" << 'PY'
import sys
ticks = [line.split() for line in open(sys.argv[1]) if line.strip()]
maps = []
try:
    for line in open(sys.argv[2]):
        f = line.split()
        lo, hi = (int(x, 16) for x in f[0].split("-"))
        maps.append((lo, hi, f[1], f[5] if len(f) > 5 else "[anonymous]"))
except OSError:
    pass
def report(title, ticks):
    counts, kinds = {}, {}
    for t in ticks:
        for item in t[2:]:
            page, kind = item.split(":")
            counts[page] = counts.get(page, 0) + 1
            kinds[page] = kind
    sizes = sorted(len(t) - 2 for t in ticks)
    print(f"{len(ticks)} {title}: {sizes[0]} to {sizes[-1]} pages each, median {sizes[len(sizes) // 2]}")
    print("pages touched by most of them:")
    for page in sorted(counts, key=lambda p: int(p, 16)):
        if counts[page] * 2 <= len(ticks):
            continue
        a = int(page, 16) << 12
        where = next((f"{name.split('/')[-1]} {perm}" for lo, hi, perm, name in maps if lo <= a < hi), "?")
        print(f"  {a:#14x} {kinds[page]:4} {counts[page]:3}  {where}")
if not ticks:
    sys.exit("no wake-ups seen")
if sys.argv[3] == "first":
    report("wake-ups", ticks)
else:
    for kind in ("quiet", "polling", "reading", "polling+reading"):
        of_kind = [t for t in ticks if t[1] == kind]
        if of_kind:
            report(f"{kind} wake-ups", of_kind)
PY
