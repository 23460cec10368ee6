# shellcheck shell=bash
# Sourced by the measuring scripts: starts sequencer-sim and writes the automation script that
# brings a console onto the Real-time Control page with its four devices.
# Defines sim_start, tcp_connect_lines, four_panels_lines and realtime_page_script.

# sim_start SIM OUT_FILE ARG...: starts the simulator SIM with ARG... (--tcp 127.0.0.1:0 or
# --pty, and its devices), its output in OUT_FILE, and waits for its first line. Sets sim_pid,
# and sim_at to the port bound ("tcp 127.0.0.1:PORT") or the terminal's path ("pty PATH").
sim_start() {
    local sim=$1 out=$2
    shift 2
    : > "$out"  # there before the first look at it
    "$sim" "$@" > "$out" 2>&1 &
    sim_pid=$!
    sim_at=
    for _ in $(seq 200); do
        sim_at=$(sed -n -e 's/^tcp 127\.0\.0\.1:\([0-9]*\)$/\1/p' -e 's/^pty //p' "$out")
        [ -n "$sim_at" ] && return 0
        kill -0 "$sim_pid" 2> /dev/null || break
        sleep 0.05
    done
    echo "sequencer-sim did not start:" >&2
    cat "$out" >&2
    return 1
}

# realtime_page_script FILE tcp|serial: an automation script that opens the link (TCP to
# 127.0.0.1 on the console's --tcp-port, or COM1, selected at a first start), shows the
# Real-time Control page with IDs 1 to 4 in its panels, leaves the last edit (so its ID is
# taken) and then waits far longer than any measurement.
realtime_page_script() {
    {
        if [ "$2" = tcp ]; then
            tcp_connect_lines
        else
            echo "click Bn_ser_conn"
        fi
        four_panels_lines
        echo "wait 86400000"
    } > "$1"
}

# tcp_connect_lines: the script lines that connect to 127.0.0.1 on the console's --tcp-port.
tcp_connect_lines() {
    printf '%s\n' "type Ed_ip_address 127.0.0.1" "click Bn_ip_conn" "expect Bn_ip_conn.enabled true"
}

# four_panels_lines: the script lines that show the Real-time Control page with IDs 1 to 4 in
# its panels and leave the last edit, so that its ID is taken.
four_panels_lines() {
    printf '%s\n' "page 2" "type PanelIdEdit[0] 1" "type PanelIdEdit[1] 2" \
        "type PanelIdEdit[2] 3" "type PanelIdEdit[3] 4" "click Panel1"
}
