#!/usr/bin/env bash
# check_package.sh [BUILD_DIR]: builds the Debian package from BUILD_DIR (default build/release,
# reused as it is) and checks it: lintian finds no error, it installs with apt-get, the four
# programs run from the PATH, the desktop entry validates, velmor-ctl reaches sequencer-sim,
# and it removes cleanly. Installs and removes the package on this machine (as root or sudo).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/release}
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive

deb=$(bash scripts/package.sh "$build" | tail -n 1)
echo "package: $deb"

echo "-- lintian"
lintian --fail-on error "$deb"

echo "-- install"
if dpkg-query -W -f='${Status}' velmor-manager 2> /dev/null | grep -q "install ok installed"; then
    "${sudo_cmd[@]}" apt-get remove -y -qq velmor-manager > /dev/null
fi
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "./$deb" > /dev/null

sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2> /dev/null || true
    "${sudo_cmd[@]}" apt-get remove -y -qq velmor-manager > /dev/null 2>&1 || true
}
trap cleanup EXIT

echo "-- programs on the PATH"
for p in velmor-manager velmor-ctl sequencer-sim skin-tool; do
    [ "$(command -v "$p")" = "/usr/bin/$p" ] || { echo "$p is not on the PATH"; exit 1; }
    [ -f "/usr/share/man/man1/$p.1.gz" ] || { echo "no man page for $p"; exit 1; }
done
velmor-manager --version
velmor-ctl --help > /dev/null
sequencer-sim --help > /dev/null
skin-tool list > /dev/null
velmor-manager --headless --settings-dir "$(mktemp -d)" --screenshot /dev/null 2> /dev/null ||
    { echo "velmor-manager does not start headless"; exit 1; }

out=$(mktemp)
sequencer-sim --tcp 127.0.0.1:0 --devices 4 > "$out" &
sim_pid=$!
port=
for _ in $(seq 100); do
    port=$(sed -n 's/^tcp 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$out")
    [ -n "$port" ] && break
    sleep 0.05
done
[ -n "$port" ] || { echo "sequencer-sim did not start"; exit 1; }
velmor-ctl --tcp "127.0.0.1:$port" status 4

echo "-- desktop entry"
desktop-file-validate /usr/share/applications/velmor-manager.desktop
[ -f /usr/share/icons/hicolor/scalable/apps/velmor-manager.svg ]

echo "-- remove"
kill "$sim_pid" 2> /dev/null || true
sim_pid=
"${sudo_cmd[@]}" apt-get remove -y -qq velmor-manager > /dev/null
for p in velmor-manager velmor-ctl sequencer-sim skin-tool; do
    [ ! -e "/usr/bin/$p" ] || { echo "/usr/bin/$p is left behind"; exit 1; }
done
[ ! -e /usr/share/applications/velmor-manager.desktop ] || { echo "desktop entry left"; exit 1; }
[ ! -e /usr/share/doc/velmor-manager ] || { echo "documentation left"; exit 1; }
echo "package checks passed"
