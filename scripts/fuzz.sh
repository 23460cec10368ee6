#!/usr/bin/env bash
# fuzz.sh [SECONDS] [TARGET...]: builds every fuzz target with clang, libFuzzer, ASan and UBSan
# into build/fuzz (installing clang when missing) and runs each for SECONDS (default 60) with
# its corpus, at the lowest priority (nice 19), one after another.
#
# Each target's working corpus is build/fuzz/corpus/TARGET: it starts from the seed corpus in
# the repository and keeps what it grows from run to run. With FUZZ_MERGE=1 the inputs that
# reach new code are merged back into the seed corpus in the repository (only inputs up to
# FUZZ_MERGE_MAX_LEN bytes, default 4096, so the repository stays small).
# Crashes, leaks and undefined behaviour are written to build/fuzz/findings/. Prints per target
# the executions, the coverage (edges, features) and the findings; also into
# build/fuzz/report.txt. Exit status 1 when anything was found.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
dir=$root/build/fuzz

# clang with its libFuzzer and sanitizer runtimes.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
    > "$probe/p.cpp"
fuzzer_works() {
    command -v clang++ > /dev/null 2>&1 &&
        clang++ -fsanitize=fuzzer,address,undefined "$probe/p.cpp" -o "$probe/p" > /dev/null 2>&1
}
if ! fuzzer_works; then
    bash "$root/scripts/deps.sh" clang
    if ! fuzzer_works; then
        major=$(clang++ --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -1)
        bash "$root/scripts/deps.sh" "libclang-rt-$major-dev"
    fi
    fuzzer_works || { echo "clang cannot build a libFuzzer target here" >&2; exit 1; }
fi

launcher=()
if command -v ccache > /dev/null 2>&1; then
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
mkdir -p "$dir"
if [ ! -f "$dir/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$dir" "${launcher[@]}" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOR_LIBFUZZER=ON -DVELMOR_SANITIZE=ON \
        -DVELMOR_BENCHMARKS=OFF > "$dir/configure.log" 2>&1 || { cat "$dir/configure.log"; exit 1; }
else
    cmake "$dir" > "$dir/configure.log" 2>&1 || { cat "$dir/configure.log"; exit 1; }
fi

declare -A seed
targets=()
while IFS='=' read -r name corpus; do
    [ -n "$name" ] || continue
    seed[$name]=$corpus
    targets+=("$name")
done < "$dir/fuzz_targets.txt"
if [ $# -gt 0 ]; then
    for t in "$@"; do
        [ -n "${seed[$t]+x}" ] || { echo "no fuzz target $t (see $dir/fuzz_targets.txt)" >&2; exit 2; }
    done
    targets=("$@")
fi
nice -n 19 cmake --build "$dir" -j "$(nproc 2> /dev/null || echo 2)" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$dir/findings" "$dir/logs"
report=$dir/report.txt
printf '%-30s %12s %8s %8s %8s %s\n' target executions edges features corpus findings | tee "$report"
found=0
for t in "${targets[@]}"; do
    work=$dir/corpus/$t
    mkdir -p "$work"
    seeds=()
    [ -n "${seed[$t]}" ] && [ -d "${seed[$t]}" ] && seeds=("${seed[$t]}")
    log=$dir/logs/$t.log
    before=$(find "$dir/findings" -name "$t-*" | wc -l)
    # New inputs go to the first directory, the working corpus; the seeds are read only.
    nice -n 19 "$dir/bin/$t" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="$dir/findings/$t-" "$work" "${seeds[@]}" \
        > "$log" 2>&1 || true
    after=$(find "$dir/findings" -name "$t-*" | wc -l)
    # A target stopped by a finding while it loads its corpus prints no coverage line.
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
    files=$(find "$work" -type f | wc -l)
    findings=$((after - before))
    [ "$findings" -gt 0 ] && found=1
    printf '%-30s %12s %8s %8s %8s %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$files" \
        "$findings" | tee -a "$report"
    if [ "${FUZZ_MERGE:-0}" = 1 ] && [ ${#seeds[@]} -gt 0 ]; then
        nice -n 19 "$dir/bin/$t" -merge=1 -max_len="${FUZZ_MERGE_MAX_LEN:-4096}" \
            "${seeds[0]}" "$work" > "$dir/logs/$t.merge.log" 2>&1 || true
    fi
done
if [ "$found" = 1 ]; then
    echo "findings in $dir/findings (logs in $dir/logs)"
    exit 1
fi
