#!/usr/bin/env bash
# realtime_screenshots.sh [BUILD_DIR] [OUT_DIR]: screenshots of the Real-time Control page with
# four live devices of sequencer-sim on loopback, in each of the three languages: channels
# switched on device 1, masks on device 3 greying their buttons, all channels of device 4 on,
# and device 2 running its power-on sequence, taken several times while it advances.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/sim_session.sh
. "$root/scripts/sim_session.sh"
build=${1:-$root/build/release}
out=${2:-$build/screenshots/realtime}
mkdir -p "$out"
for language in 0 1 2; do
    script="$out/live_panels_$language.script"
    {
        tcp_connect_lines
        echo "select CB_language $language"
        four_panels_lines
        cat << SCRIPT
wait 500
click ChannelButton[0][1]
wait 300
click ChannelButton[0][3]
wait 300
click ChannelButton[0][0]
wait 300
click ChannelMask[2][4]
wait 300
click ChannelMask[2][9]
wait 300
click ChannelButton[2][2]
wait 300
click PanelAllButton[3]
wait 500
click PanelSeqOnButton[1]
wait 900
screenshot $out/realtime_${language}_a.png
wait 900
screenshot $out/realtime_${language}_b.png
wait 1800
screenshot $out/realtime_${language}_c.png
SCRIPT
    } > "$script"
    sh "$root/tests/link/run_with_simulator.sh" "$build/bin/sequencer-sim" \
        "$build/bin/velmor-manager" "$out/settings_$language" "$script" \
        --devices 1,2,3,4 --time-scale 2
done
echo "screenshots in $out"
