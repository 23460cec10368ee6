#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures (once) and builds the project into DIR.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
mkdir -p "$dir"
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$dir" "$@" > "$dir/configure.log" 2>&1 || { cat "$dir/configure.log"; exit 1; }
cmake --build "$dir" -j "$jobs"
