#!/bin/sh
# Starts sequencer-sim on a free loopback port, runs the console headless against it with the
# given script, and stops the simulator. Usage: SIM APP SETTINGS_DIR SCRIPT [SIM OPTIONS...]
sim=$1 app=$2 dir=$3 script=$4
shift 4
rm -rf "$dir" && mkdir -p "$dir" || exit 1
"$sim" --tcp 127.0.0.1:0 "$@" > "$dir/sim.out" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null' EXIT
# The simulator's first line names the port it bound.
port=
for _ in $(seq 200); do
    port=$(sed -n 's/^tcp 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$dir/sim.out")
    [ -n "$port" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.05
done
[ -n "$port" ] || { echo "the simulator did not start:"; cat "$dir/sim.out"; exit 1; }
"$app" --headless --settings-dir "$dir" --tcp-port "$port" --script "$script"
