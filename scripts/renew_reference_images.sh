#!/usr/bin/env bash
# renew_reference_images.sh [BUILD_DIR]: renews the reference images of the plain look (the
# console's pages in each language, a message box, the control gallery) after an intended change
# of the look. Builds the reference tests, runs them in renewal mode (each writes its pictures
# into its tests/**/reference folder instead of comparing), runs them again to check, and lists
# the pictures that changed. Look at them before committing them with the change.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
targets=(app_reference_images_test gallery_reference_images_test)
cmake --build "$build" -j 2 --target "${targets[@]}"
cd "$build"
VELMOR_RENEW_REFERENCE_IMAGES=1 ctest -L reference-images --output-on-failure
ctest -L reference-images --output-on-failure
cd "$root"
git status --short -- tests | grep "/reference/" || echo "no picture changed"
