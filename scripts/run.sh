#!/usr/bin/env bash
# Builds the console and starts it. With an X display it opens the real window; without one it
# says so and shows how to run headless. Arguments are passed on to velmor-manager.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo > build/release-build.log 2>&1 ||
    { tail -n 40 build/release-build.log; exit 1; }
bin=build/release/bin

headless=0
for a in "$@"; do
    case "$a" in --headless|--screenshot|--script|--help|--version) headless=1 ;; esac
done

if [ $headless -eq 0 ] && [ -z "${DISPLAY:-}" ]; then
    echo "No X display (DISPLAY is not set), so the window cannot be shown here."
    echo "Run it headless instead, for example:"
    echo "  bash scripts/run.sh --headless --screenshot main.png"
    exit 1
fi
sim_pid=
cleanup() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true; }
trap cleanup EXIT
if [ -x "$bin/sequencer-sim" ] && [ $headless -eq 0 ]; then
    "$bin/sequencer-sim" --tcp 127.0.0.1:8080 --devices 1,2,3 > build/sequencer-sim.log 2>&1 &
    sim_pid=$!
    echo "A simulated sequencer line (devices 1, 2 and 3) listens on 127.0.0.1:8080."
    echo "On the Port Setup page type 127.0.0.1 as the IP address and press connect."
fi

exec_status=0
"$bin/velmor-manager" "$@" || exec_status=$?
exit $exec_status
