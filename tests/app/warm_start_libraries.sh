#!/bin/sh
# warm_start_libraries.sh PROGRAM: a start that finds its font faces and glyphs in the caches
# loads neither FreeType nor fontconfig nor libpng; when the glyphs no longer match the
# FreeType the loader would find (here: other library directories in the environment), the
# next start renders them anew and draws the same window. A directory of libraries that holds
# no FreeType changes nothing.
set -eu
program=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export VELMOR_FONT_CACHE="$dir/font-faces"
run() {
    LD_DEBUG=files "$program" --headless --no-skin --settings-dir "$dir" --exit-after-first-frame \
        2> "$dir/loader" || { cat "$dir/loader"; exit 1; }
}
loaded() { grep -E "file=lib($1)\." "$dir/loader" > /dev/null; }

run
[ -s "$dir/font-faces.glyphs" ] || { echo "no glyph cache written"; exit 1; }
run
if loaded "freetype|fontconfig|png16"; then
    echo "a warm start loaded a font or image library:"
    grep -E "file=lib(freetype|fontconfig|png16)" "$dir/loader"
    exit 1
fi
"$program" --headless --no-skin --settings-dir "$dir" --screenshot "$dir/warm.png"

# Library directories that hold no FreeType (as a debugger's) change nothing.
mkdir "$dir/no-libraries"
LD_LIBRARY_PATH="$dir/no-libraries" run
if loaded freetype; then
    echo "glyphs rendered anew although the loader would find the same FreeType"
    exit 1
fi

# Glyphs rendered with the FreeType found in the usual places are not taken when the loader
# would find another one first; those it renders then are kept for the next start.
mkdir "$dir/other-libraries"
library=$(ldconfig -p | awk '$1 == "libfreetype.so.6" { print $NF; exit }')
[ -n "$library" ] || { echo "no FreeType known to the loader"; exit 1; }
cp "$(readlink -f "$library")" "$dir/other-libraries/libfreetype.so.6"
export LD_LIBRARY_PATH="$dir/other-libraries"
run
loaded freetype || { echo "glyphs taken although the loader would find another FreeType"; exit 1; }
run
if loaded freetype; then
    echo "the glyphs rendered with the other FreeType were not kept"
    exit 1
fi
"$program" --headless --no-skin --settings-dir "$dir" --screenshot "$dir/rendered.png"
cmp "$dir/warm.png" "$dir/rendered.png" || { echo "the window differs"; exit 1; }
echo "passed"
