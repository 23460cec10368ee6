#!/usr/bin/env bash
# compare_looks.sh OLD_PROGRAM NEW_PROGRAM [OUT_DIR]: runs two builds of velmor-manager headless
# through the same walk (every page in each language, device IDs typed into the Real-time
# panels, masks ticked, a button held down, an edit's context menu open), skinned and in the
# plain look, and compares their screenshots pixel for pixel. Exit 0 when every picture is
# the same; the pictures stay in OUT_DIR (a temporary folder by default) to be looked at.
# For changes that must not move a pixel, such as work on the speed of painting.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# The Timer Task page shows the time of start-up: both programs see the same frozen wall
# clock (their timers run on the monotonic clock, which is left alone).
bash "$root/scripts/deps.sh" faketime
old=$1
new=$2
out=${3:-$(mktemp -d)}
mkdir -p "$out/old" "$out/new"

walk() {  # walk DIR: the automation script writing its pictures into DIR
    local dir=$1
    for language in 1 0 2; do
        echo "select CB_language $language"
        for page in 0 1 2 3; do
            echo "page $page"
            echo "screenshot $dir/page${page}_lang${language}.png"
        done
    done
    echo "page 2"
    echo "type PanelIdEdit[0] 1"
    echo "type PanelIdEdit[1] 2"
    echo "click ChannelMask[0][3]"
    echo "click PanelMaskAll[1]"
    echo "focus ChannelButton[0][2]"
    # The clicks queue requests that the page's timer sends and follows up: the pictures are
    # taken once that is over, whatever the speed of the program.
    echo "wait 800"
    echo "screenshot $dir/realtime_ids.png"
    echo "rclick PanelIdEdit[2]"
    echo "wait 800"
    echo "screenshot $dir/realtime_menu.png"
    echo "key Escape"
    echo "page 1"
    echo "screenshot $dir/setup_after.png"
}

status=0
for look in skin no-skin; do
    for which in old new; do
        program=$old
        [ "$which" = new ] && program=$new
        dir="$out/$which/$look"
        mkdir -p "$dir"
        settings=$(mktemp -d)
        walk "$dir" > "$dir/walk.script"
        opts=(--headless --settings-dir "$settings" --script "$dir/walk.script")
        [ "$look" = no-skin ] && opts+=(--no-skin)
        if ! FAKETIME_DONT_FAKE_MONOTONIC=1 faketime -f '2026-01-01 12:00:00' \
            "$program" "${opts[@]}" > "$dir/log" 2>&1; then
            echo "$which ($look): the walk failed:"
            cat "$dir/log"
            status=1
        fi
        rm -rf "$settings"
    done
    for picture in "$out/old/$look"/*.png; do
        name=$(basename "$picture")
        if ! cmp -s "$picture" "$out/new/$look/$name"; then
            echo "differs ($look): $name"
            status=1
        fi
    done
    echo "$look: $(ls "$out/old/$look"/*.png | wc -l) pictures compared"
done
[ $status = 0 ] && echo "all pictures are the same ($out)"
exit $status
