#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
#   deps.sh [EXTRA_PACKAGE...]   (tools some scripts need besides, e.g. valgrind)
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libfreetype-dev libfontconfig-dev fontconfig
    libx11-dev libxext-dev libxtst-dev libpng-dev
    fonts-liberation2 fonts-dejavu-core fonts-wqy-microhei
    xvfb xauth
    dpkg-dev fakeroot lintian desktop-file-utils
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
