#!/usr/bin/env bash
# package.sh [BUILD_DIR]: builds build/package/velmor-manager_VERSION_ARCH.deb holding the
# console, velmor-ctl, sequencer-sim and skin-tool, with the desktop entry, the icon and the man
# pages. It reuses BUILD_DIR (default build/release) and builds only the four programs in it;
# when the directory has never been configured it is configured as a release build first.
# Needs dpkg-deb and dpkg-shlibdeps (dpkg-dev), installed by scripts/deps.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/release}
out=build/package
package=velmor-manager
maintainer="Velmor Manager developers <velmor-manager@example.org>"

if [ ! -f "$build/CMakeCache.txt" ]; then
    launcher=()
    if command -v ccache > /dev/null 2>&1; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" > /dev/null
fi
cmake --build "$build" -j "$(nproc 2> /dev/null || echo 2)" \
    --target velmor-manager velmor-ctl sequencer-sim skin_tool
programs=(velmor-manager velmor-ctl sequencer-sim skin-tool)

version=$(sed -n 's/^project(VelmorManager VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
[ -n "$version" ] || { echo "package.sh: no version in CMakeLists.txt" >&2; exit 1; }

stage=$out/root
rm -rf "$stage"
mkdir -p "$stage/DEBIAN" "$stage/usr/bin" "$stage/usr/share/man/man1" \
    "$stage/usr/share/applications" "$stage/usr/share/icons/hicolor/scalable/apps" \
    "$stage/usr/share/doc/$package"

for p in "${programs[@]}"; do
    install -m 0755 "$build/bin/$p" "$stage/usr/bin/$p"
    strip --strip-unneeded --remove-section=.comment --remove-section=.note "$stage/usr/bin/$p"
    gzip -9n < "packaging/man/$p.1" > "$stage/usr/share/man/man1/$p.1.gz"
done
install -m 0644 packaging/velmor-manager.desktop "$stage/usr/share/applications/"
install -m 0644 packaging/velmor-manager.svg "$stage/usr/share/icons/hicolor/scalable/apps/"
install -m 0644 packaging/copyright "$stage/usr/share/doc/$package/copyright"
{
    echo "$package ($version) unstable; urgency=medium"
    echo
    echo "  * Version $version of the console, velmor-ctl, sequencer-sim and skin-tool."
    echo
    echo " -- $maintainer  $(date -R -u -d "@$(git log -1 --format=%ct 2> /dev/null || date +%s)")"
} | gzip -9n > "$stage/usr/share/doc/$package/changelog.gz"
chmod 0644 "$stage/usr/share/man/man1/"*.gz "$stage/usr/share/doc/$package/"*

# The shared libraries the programs use, by package name, as dpkg-shlibdeps finds them; the
# fonts the console draws its captions with come besides.
shlibs_dir=$out/shlibs
rm -rf "$shlibs_dir"
mkdir -p "$shlibs_dir/debian"
printf 'Source: %s\n\nPackage: %s\nArchitecture: any\n' "$package" "$package" \
    > "$shlibs_dir/debian/control"
binaries=()
for p in "${programs[@]}"; do binaries+=("$root/$stage/usr/bin/$p"); done
libraries=$(cd "$shlibs_dir" && dpkg-shlibdeps -O "${binaries[@]}" 2> /dev/null |
    sed -n 's/^shlibs:Depends=//p')
[ -n "$libraries" ] || { echo "package.sh: dpkg-shlibdeps found no libraries" >&2; exit 1; }
# The libraries the programs load at their first use (FreeType, fontconfig, libpng: see
# platform/gdi/late_library.h) are not in their ELF headers, so dpkg-shlibdeps cannot see them:
# the packages that hold them on this machine.
for soname in libfreetype.so.6 libfontconfig.so.1 libpng16.so.16; do
    # The readers take their whole input: one that stopped at its first find would end the
    # writer with SIGPIPE now and then, and under pipefail the script with it, without a word.
    file=$(ldconfig -p |
        awk -v n="$soname" '$1 == n && file == "" { file = $NF } END { print file }')
    owner=$( { [ -n "$file" ] && dpkg -S "$(readlink -f "$file")" 2> /dev/null; } | sed -n 1p |
        cut -d: -f1)
    [ -n "$owner" ] || { echo "package.sh: no package holds $soname" >&2; exit 1; }
    libraries="$libraries, $owner"
done
depends="$libraries, fonts-liberation2 | fonts-dejavu-core, fonts-wqy-microhei"

installed_size=$(du -sk --exclude=DEBIAN "$stage" | cut -f1)
cat > "$stage/DEBIAN/control" << CONTROL
Package: $package
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $installed_size
Depends: $depends
Section: electronics
Priority: optional
Homepage: https://example.org/velmor-manager
Description: console and command-line client for power sequencers
 Velmor Manager configures and controls power sequencers: rack devices that
 switch sixteen power channels and an LCD channel one after another with set
 delays, on an RS-232 line (19200 baud, 8N1) or over TCP.
 .
 The package holds the console (velmor-manager), a command-line client for
 scripts (velmor-ctl), a simulator of sequencers for trying both without
 hardware (sequencer-sim) and a tool for skin packages (skin-tool).
CONTROL
chmod 0644 "$stage/DEBIAN/control"
find "$stage" -type d -exec chmod 0755 {} +

deb=$out/${package}_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" > /dev/null
echo "$deb"
