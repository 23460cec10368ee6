#!/usr/bin/env bash
# Builds everything and runs every test twice: a normal build, then one under
# AddressSanitizer and UndefinedBehaviorSanitizer. The X11 tests run against Xvfb. The Debian
# package is built from the normal build, installed, tried and removed in between.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh

xvfb_pid=
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
display_num=$((90 + RANDOM % 100))
Xvfb ":$display_num" -screen 0 1280x1024x24 -noreset -nolisten tcp > /dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display_num"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display_num" ] && break; sleep 0.1; done

jobs=$(nproc 2>/dev/null || echo 2)
status=0

echo "== normal build =="
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd build/release && ctest --output-on-failure -j "$jobs") || status=1

echo "== Debian package (from the normal build) =="
bash scripts/check_package.sh build/release || status=1

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
bash scripts/build.sh build/asan -DCMAKE_BUILD_TYPE=Debug -DVELMOR_SANITIZE=ON -DVELMOR_BENCHMARKS=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build/asan && ctest --output-on-failure -j "$jobs") || status=1

if [ $status -eq 0 ]; then echo "All tests passed in both builds."; else echo "Some tests failed."; fi
exit $status
