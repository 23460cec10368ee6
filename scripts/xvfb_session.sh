# Sourced by the measuring scripts: starts a private Xvfb on a free display number (or on
# $VELMOR_XVFB_DISPLAY, e.g. :64) and sets DISPLAY; the server goes when the script ends.
# Defines xvfb_start and xvfb_stop.

xvfb_pid=
xvfb_start() {
    local n
    if [ -n "${VELMOR_XVFB_DISPLAY:-}" ]; then
        n=${VELMOR_XVFB_DISPLAY#:}
    else
        n=90
        while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do
            n=$((n + 1))
        done
    fi
    Xvfb ":$n" -screen 0 1280x1024x24 -noreset -nolisten tcp > /dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do
        [ -S "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.05
    done
    echo "Xvfb did not start on :$n" >&2
    return 1
}

xvfb_stop() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2> /dev/null || true
        wait "$xvfb_pid" 2> /dev/null || true
        xvfb_pid=
    fi
}
