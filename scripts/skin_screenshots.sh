#!/bin/sh
# skin_screenshots.sh OUT_DIR [BUILD_DIR]: headless screenshots of the console, skinned and in
# the plain look (--no-skin), side by side: every page, the invalid-ID message box and an edit's
# context menu, in each of the three languages. Files are named LOOK_WHAT_LANGUAGE.png, LOOK
# "skin" or "plain", LANGUAGE "chs", "en" or "cht"; a pair differs only in LOOK. Each language
# runs on a settings directory of its own under OUT_DIR/settings.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 1 ]; then
    echo "usage: $0 OUT_DIR [BUILD_DIR]" >&2
    exit 2
fi
out=$1
build=${2:-$root/build/release}
manager=$build/bin/velmor-manager
if [ ! -x "$manager" ]; then
    cmake --build "$build" -j2 --target velmor-manager
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)

shoot() {
    look=$1 language=$2 name=$3
    script="$out/settings/$look-$name.script"
    mkdir -p "$out/settings/$look-$name"
    # Each page is chosen by clicking its tab, so no picture shows the language box focused.
    cat > "$script" <<SCRIPT
select CB_language $language
wait 300
page 0
wait 100
screenshot $out/${look}_page1_$name.png
page 1
wait 100
screenshot $out/${look}_page2_$name.png
page 2
wait 100
screenshot $out/${look}_page3_$name.png
page 3
wait 100
screenshot $out/${look}_page4_$name.png
# The device ID is empty on a new settings directory: the invalid-ID box over the window.
page 1
click Bn_connect
wait 100
screenshot $out/${look}_message_box_$name.png
key Enter
wait 100
expect-no-box
# The context menu of the old-ID edit.
type Ed_read_id 12
rclick Ed_read_id
wait 100
screenshot $out/${look}_context_menu_$name.png
key Escape
wait 100
SCRIPT
    set -- --headless --settings-dir "$out/settings/$look-$name" --script "$script"
    if [ "$look" = plain ]; then
        set -- "$@" --no-skin
    fi
    if ! "$manager" "$@"; then
        echo "$0: the $look run in $name failed ($script)" >&2
        return 1
    fi
}

status=0
for look in skin plain; do
    shoot "$look" 0 chs || status=1
    shoot "$look" 1 en || status=1
    shoot "$look" 2 cht || status=1
done
echo "screenshots in $out"
exit $status
