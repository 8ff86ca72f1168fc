#!/usr/bin/env bash
# cpu_at_cap.sh - the CPU the saver takes hosted at its default frame-rate
# cap (--root, 30 frames a second), against the cheapest frame with a
# background picture at the same pace: floor run with -bg -fps 30. Both are
# measured by measure_gl.sh (CPU of the process, all threads, llvmpipe's
# included, each under its own private Xvfb), alternating floor, saver,
# floor, saver... so that a busy moment of the machine falls on both alike.
# The saver should take at most 1.4 times the floor's CPU (at 1024x768).
# Both draw into like buffers: hosted on Xvfb's root window the saver draws
# into a child window of its own with a 32-bit depth buffer and no stencil,
# as floor's window has, not into the root window's visual (depth 24 with 8
# bits of stencil, where clearing depth alone takes llvmpipe a pass over
# every pixel: about 5 M instructions a frame under callgrind).
#
# Each size of -s is measured in turn, the screen and floor's window alike:
# 1024x768, then 1920x1080, today's common monitor.
#
# usage: bench/cpu_at_cap.sh [-b BUILD] [-r RUNS] [-t SECS] [-T TOOLS] [-s SIZES] [-u]
#   -b  build folder holding bin/gardenlume.scr and the packs (default: build)
#   -r  how many floor/saver pairs to run (default 5)
#   -t  seconds each program runs after its first frame (default 8; the
#       first 2 are not counted)
#   -T  folder with a floor.c and glfps.sh to use instead of ours (default:
#       $GARDENLUME_SHARED_TOOLS; bench_tools.sh says how they are found)
#   -s  screen sizes, blank-separated (default "1024x768 1920x1080")
#   -u  also run both unpaced (floor -bg, saver --root --max-fps 0) and
#       print the ratio of their frame rates
# Prints one line per pair (CPU in % of one core, frame rate) and, for each
# size, the medians with the ratio of the CPU medians. Exit 0 when measured,
# 1 when something is missing, 2 on a usage error. Timing only: not a test.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build runs=5 secs=8 tools=${GARDENLUME_SHARED_TOOLS:-} unpaced=0
sizes="1024x768 1920x1080"
while getopts "b:r:t:T:s:u" o; do
    case $o in
        b) build=$OPTARG ;; r) runs=$OPTARG ;; t) secs=$OPTARG ;; T) tools=$OPTARG ;; s) sizes=$OPTARG ;;
        u) unpaced=1 ;;
        *) sed -n '2,30p' "$0" >&2; exit 2 ;;
    esac
done
saver=$build/bin/gardenlume.scr
for f in "$saver" "$build/bin/main.pak"; do
    [ -e "$f" ] || { echo "cpu_at_cap: $f is missing" >&2; exit 1; }
done
scratch=$(mktemp -d /tmp/cpu_at_cap.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
. "$here/bench/bench_tools.sh"
bench_tools cpu_at_cap "$build" "$tools" "$scratch" || exit 1

field() { sed -n "s/.* $1=\([0-9.]*\).*/\1/p" <<<"$2"; }
median() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# One program measured at $size; the saver reads the packs beside it.
measure() { GARDENLUME_REGISTRY=/nonexistent bash "$measure" -s "$size" -t "$secs" -w 2 -l "$1" -- "${@:2}"; }

summary=()
for size in $sizes; do
    w=${size%x*} h=${size#*x}
    fc="" gc="" ratios="" ff="" gf="" fratios=""
    for ((i = 1; i <= runs; i++)); do
        f=$(measure floor_bg_30 "$floor" -bg -fps 30 -w "$w" -h "$h")
        g=$(measure garden_root "$saver" --root)
        a=$(field cpu_pct "$f") b=$(field cpu_pct "$g")
        if [ -z "$a" ] || [ -z "$b" ] || [ "$a" = 0 ]; then
            echo "cpu_at_cap: $size run $i measured nothing: $f / $g" >&2
            continue
        fi
        line="$size run $i: floor -bg -fps 30 cpu $a % fps $(field fps_med "$f") | garden --root cpu $b % fps $(field fps_med "$g") | ratio $(ratio "$b" "$a")"
        fc="$fc $a" gc="$gc $b" ratios="$ratios $(ratio "$b" "$a")"
        if [ "$unpaced" = 1 ]; then
            f=$(measure floor_bg "$floor" -bg -w "$w" -h "$h")
            g=$(measure garden_root_unpaced "$saver" --root --max-fps 0)
            a=$(field fps_med "$f") b=$(field fps_med "$g")
            if [ -n "$a" ] && [ -n "$b" ]; then
                line="$line || unpaced fps floor $a garden $b ratio $(ratio "$b" "$a")"
                ff="$ff $a" gf="$gf $b" fratios="$fratios $(ratio "$b" "$a")"
            fi
        fi
        echo "$line"
    done
    [ -n "$gc" ] || continue
    summary+=("$size median CPU at the cap: floor -bg -fps 30 $(median "$fc") %, garden --root $(median "$gc") %, ratio $(ratio "$(median "$gc")" "$(median "$fc")") (median of the pairs' ratios $(median "$ratios"); target 1.4)")
    if [ -n "$gf" ]; then
        summary+=("$size median unpaced fps: floor -bg $(median "$ff"), garden $(median "$gf"), ratio $(ratio "$(median "$gf")" "$(median "$ff")") (median of the pairs' ratios $(median "$fratios"); target 0.80)")
    fi
done
[ ${#summary[@]} -gt 0 ] || exit 1
printf '%s\n' "${summary[@]}"
