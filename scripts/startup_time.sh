#!/usr/bin/env bash
# startup_time.sh [BUILD_DIR] [RUNS]: start-up under X, measured side by side in one run: the
# console in the plain look (--no-skin) from its start to its exit after the first frame is on
# the display (--exit-after-first-frame), beside the floor, a bare Xlib program that maps one
# window of the same size and puts one shared-memory image on it (velmor-floor-bare-window), and
# beside the same console built without the Real-time Control device panels and without the
# Timer Task page (bench/startup), to weigh what each page adds. Every program runs RUNS times
# (default 7), alternating, after one unmeasured warm-up run each (a warm start: files in the
# page cache, the font face and glyph caches written). Prints every run (wall and CPU time),
# the medians and their ratios, and the median user and system time and minor page faults.
# VELMOR_OLD_CONSOLE=PROGRAM adds another build of velmor-manager (the one before a change) to
# the same run.
# Starts its own Xvfb (VELMOR_XVFB_DISPLAY picks the display number).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/release}
runs=${2:-7}
programs=(velmor-manager velmor-manager-without-device-panels
    velmor-manager-without-timer-task-page velmor-floor-bare-window velmor-run-timed)
# Brought up to date every time: programs compared side by side must come from the same sources.
cmake --build "$dir" -j2 --target "${programs[@]}" > /dev/null
# shellcheck source=scripts/xvfb_session.sh
. "$root/scripts/xvfb_session.sh"
tmp=$(mktemp -d)
trap 'xvfb_stop; rm -rf "$tmp"' EXIT
xvfb_start
# The console's own settings and font cache, as on a machine where it has run before.
plain=(--no-skin --settings-dir "$tmp" --exit-after-first-frame)
console=("$dir/bin/velmor-manager" "${plain[@]}")
floor=("$dir/bin/velmor-floor-bare-window")

# "wall_us cpu_us user_us sys_us minflt" of one run. Each program keeps its own font caches
# (builds with another FreeType would otherwise render anew at every turn).
timed() {
    local caches=$1
    shift
    if ! VELMOR_FONT_CACHE=$caches "$dir/bin/velmor-run-timed" "$@" > /dev/null 2> "$tmp/run"; then
        echo "failed: $*" >&2
        cat "$tmp/run" >&2
        exit 1
    fi
    local split
    split=$(awk '/^user_us/ { print $2, $4, $6 }' "$tmp/run")
    echo "$(tail -1 "$tmp/run") $split"
}
# Each run once unmeasured first: the console with its font caches (a warm start), the console
# without them (VELMOR_FONT_CACHE empty: fontconfig asked and every glyph rendered at every
# start), the console without the device panels, without the Timer Task page, the floor, and
# the build before a change when one is given.
names=("console" "no font caches" "no device panels" "no Timer Task page" "bare window")
[ -n "${VELMOR_OLD_CONSOLE:-}" ] && names+=("console before")
count=${#names[@]}
run_one() {
    case $1 in
        0) timed "$tmp/font-faces" "${console[@]}" ;;
        1) timed "" "${console[@]}" ;;
        2) timed "$tmp/panels/font-faces" "$dir/bin/velmor-manager-without-device-panels" "${plain[@]}" ;;
        3) timed "$tmp/timer/font-faces" "$dir/bin/velmor-manager-without-timer-task-page" \
            "${plain[@]}" ;;
        4) timed "" "${floor[@]}" ;;
        5) timed "$tmp/old/font-faces" "$VELMOR_OLD_CONSOLE" "${plain[@]}" ;;
    esac
}
declare -a walls cpus users syss faults
for ((k = 0; k < count; k++)); do
    run_one "$k" > /dev/null
    walls[k]=""
    cpus[k]=""
    users[k]=""
    syss[k]=""
    faults[k]=""
done
printf '%-4s' run
for ((k = 0; k < count; k++)); do printf ' %22s' "${names[$k]}"; done
printf '\n%-4s' ""
for ((k = 0; k < count; k++)); do printf ' %22s' "wall / CPU ms"; done
echo
for i in $(seq "$runs"); do
    printf '%-4s' "$i"
    for ((k = 0; k < count; k++)); do
        read -r w c u y f < <(run_one "$k")
        walls[k]+=" $w"
        cpus[k]+=" $c"
        users[k]+=" $u"
        syss[k]+=" $y"
        faults[k]+=" $f"
        awk -v w="$w" -v c="$c" 'BEGIN { printf " %15.1f / %4.1f", w / 1000, c / 1000 }'
    done
    echo
done
# The median of the numbers given.
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for what in wall cpu; do
    declare -a m
    for ((k = 0; k < count; k++)); do
        if [ "$what" = wall ]; then
            # shellcheck disable=SC2086
            m[k]=$(median ${walls[k]})
        else
            # shellcheck disable=SC2086
            m[k]=$(median ${cpus[k]})
        fi
    done
    awk -v what="$what" -v n="$runs" -v a="${m[0]}" -v b="${m[1]}" -v p="${m[2]}" -v t="${m[3]}" \
        -v f="${m[4]}" 'BEGIN {
        label = what == "wall" ? "start to exit" : "CPU time"
        printf "median of %d, %s:\n", n, label
        printf "  console %.1f ms: %.2fx the bare window (%.1f ms)\n", a / 1000, a / f, f / 1000
        printf "  without font caches %.1f ms: %.2fx the bare window\n", b / 1000, b / f
        printf "  the device panels add %+.1f %% (%.1f ms without them)\n", (a / p - 1) * 100, p / 1000
        printf "  the Timer Task page adds %+.1f %% (%.1f ms without it)\n", (a / t - 1) * 100, t / 1000 }'
    if [ -n "${VELMOR_OLD_CONSOLE:-}" ]; then
        # shellcheck disable=SC2086
        if [ "$what" = wall ]; then o=$(median ${walls[5]}); else o=$(median ${cpus[5]}); fi
        awk -v a="${m[0]}" -v o="$o" -v f="${m[4]}" 'BEGIN {
            printf "  console before %.1f ms: %.2fx the bare window\n", o / 1000, o / f }'
    fi
done
# The kernel splits a run's CPU time into user and system time by where its clock ticks fell,
# and a run lasts a few ticks: one run's split means little, the means over all runs more.
echo "means of user time / system time, median of the minor page faults:"
for ((k = 0; k < count; k++)); do
    # shellcheck disable=SC2086
    printf '  %-20s %5.1f ms / %5.1f ms / %s\n' "${names[$k]}" \
        "$(printf '%s\n' ${users[k]} | awk '{ s += $1 } END { print s / NR / 1000 }')" \
        "$(printf '%s\n' ${syss[k]} | awk '{ s += $1 } END { print s / NR / 1000 }')" \
        "$(median ${faults[k]})"
done
