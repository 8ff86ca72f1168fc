#!/usr/bin/env bash
# frame_budget.sh - the saver's frame rate against the cheapest frame with a
# background: floor.c run with -bg (clear, one full-screen textured quad,
# swap), both measured back to back by glfps.sh under its own private Xvfb.
# The garden should reach 0.7 of the floor's frame rate.
#
# usage: bench/frame_budget.sh [-b BUILD] [-t SECS] [-r RUNS] [-T TOOLS]
#   -b  build folder holding bin/gardenlume.scr and the packs (default: build)
#   -t  seconds each program is measured (default 8)
#   -r  how many floor/garden pairs to run (default 3)
#   -T  folder with floor.c and glfps.sh (default: ../shared/tools beside the repository)
# Prints one line per pair: floor fps, garden fps, their ratio, and the same
# ratio from cpu100 (CPU seconds per 100 frames; steadier on a busy machine),
# then the median ratios. Exit 0 when measured, 1 when something is missing,
# 2 on a usage error. Timing only: not a test, and no pass/fail on the ratio.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build secs=8 runs=3 tools=$here/../shared/tools
while getopts "b:t:r:T:" o; do
    case $o in
        b) build=$OPTARG ;; t) secs=$OPTARG ;; r) runs=$OPTARG ;; T) tools=$OPTARG ;;
        *) sed -n '2,15p' "$0" >&2; exit 2 ;;
    esac
done
saver=$build/bin/gardenlume.scr
for f in "$tools/floor.c" "$tools/glfps.sh" "$saver" "$build/bin/main.pak"; do
    [ -e "$f" ] || { echo "frame_budget: $f is missing" >&2; exit 1; }
done
floor=$(mktemp /tmp/frame_budget_floor.XXXXXX)
trap 'rm -f "$floor"' EXIT
# shellcheck disable=SC2046
cc -O2 "$tools/floor.c" $(sdl-config --cflags --libs) -lGLU -lGL -lm -o "$floor" ||
    { echo "frame_budget: $tools/floor.c does not build" >&2; exit 1; }

field() { sed -n "s/.* $1=\([0-9.]*\).*/\1/p" <<<"$2"; }
ratios="" cpu_ratios=""
for ((i = 1; i <= runs; i++)); do
    f=$(bash "$tools/glfps.sh" -t "$secs" -l floor_bg -- "$floor" -bg)
    g=$(GARDENLUME_REGISTRY=/nonexistent bash "$tools/glfps.sh" -t "$secs" -l garden -- "$saver" /s)
    ffps=$(field fps_med "$f") gfps=$(field fps_med "$g") fcpu=$(field cpu100 "$f") gcpu=$(field cpu100 "$g")
    if [ -z "$ffps" ] || [ -z "$gfps" ] || [ -z "$fcpu" ] || [ -z "$gcpu" ]; then
        echo "frame_budget: run $i measured nothing: $f / $g" >&2
        continue
    fi
    r=$(awk -v a="$gfps" -v b="$ffps" 'BEGIN { printf "%.2f", a / b }')
    c=$(awk -v a="$fcpu" -v b="$gcpu" 'BEGIN { printf "%.2f", a / b }')
    echo "run $i: floor_bg fps $ffps cpu100 $fcpu | garden fps $gfps cpu100 $gcpu | ratio $r (cpu100 ratio $c)"
    ratios="$ratios $r" cpu_ratios="$cpu_ratios $c"
done
[ -n "$ratios" ] || exit 1
median() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "median ratio $(median "$ratios") (cpu100 ratio $(median "$cpu_ratios")); target 0.70"
