#!/usr/bin/env bash
# frame_budget.sh - the saver's frame rate against the cheapest frame with a
# background: floor run with -bg (clear, one full-screen textured quad,
# swap), both measured back to back by measure_gl.sh under its own private Xvfb.
# The garden should reach 0.7 of the floor's frame rate (at 1024x768). Each
# size of -s is measured in turn, the screen and floor's window alike; the
# saver runs full screen in the desktop mode, the screen's own size.
#
# usage: bench/frame_budget.sh [-b BUILD] [-t SECS] [-r RUNS] [-T TOOLS] [-s SIZES]
#   -b  build folder holding bin/gardenlume.scr and the packs (default: build)
#   -t  seconds each program is measured (default 8)
#   -r  how many floor/garden pairs to run (default 3)
#   -T  folder with a floor.c and glfps.sh to use instead of ours (default:
#       $GARDENLUME_SHARED_TOOLS; bench_tools.sh says how they are found)
#   -s  screen sizes, blank-separated (default "1024x768 1920x1080")
# Prints one line per pair: floor fps, garden fps, their ratio, and the same
# ratio from cpu100 (CPU seconds per 100 frames; steadier on a busy machine),
# then the median ratios of each size. Exit 0 when measured, 1 when
# something is missing, 2 on a usage error. Timing only: not a test, and no
# pass/fail on the ratio.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build secs=8 runs=3 tools=${GARDENLUME_SHARED_TOOLS:-} sizes="1024x768 1920x1080"
while getopts "b:t:r:T:s:" o; do
    case $o in
        b) build=$OPTARG ;; t) secs=$OPTARG ;; r) runs=$OPTARG ;; T) tools=$OPTARG ;; s) sizes=$OPTARG ;;
        *) sed -n '2,20p' "$0" >&2; exit 2 ;;
    esac
done
saver=$build/bin/gardenlume.scr
for f in "$saver" "$build/bin/main.pak" "$build/bin/config.exe"; do
    [ -e "$f" ] || { echo "frame_budget: $f is missing" >&2; exit 1; }
done
work=$(mktemp -d /tmp/frame_budget.XXXXXX)
trap 'rm -rf "$work"' EXIT
. "$here/bench/bench_tools.sh"
bench_tools frame_budget "$build" "$tools" "$work" || exit 1
# An installation folder of the build's packs in the desktop mode.
mkdir "$work/inst"
cp "$build/bin/"*.pak "$work/inst/"
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n"Path"="%s/"\n' \
    "$work/inst" >"$work/registry.reg"
export GARDENLUME_REGISTRY=$work/registry.reg
"$build/bin/config.exe" --mode desktop >/dev/null || { echo "frame_budget: no settings written" >&2; exit 1; }

field() { sed -n "s/.* $1=\([0-9.]*\).*/\1/p" <<<"$2"; }
median() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
summary=()
for size in $sizes; do
    ratios="" cpu_ratios=""
    for ((i = 1; i <= runs; i++)); do
        f=$(bash "$measure" -s "$size" -t "$secs" -l floor_bg -- "$floor" -bg -w "${size%x*}" -h "${size#*x}")
        g=$(bash "$measure" -s "$size" -t "$secs" -l garden -- "$saver" /s)
        ffps=$(field fps_med "$f") gfps=$(field fps_med "$g") fcpu=$(field cpu100 "$f") gcpu=$(field cpu100 "$g")
        if [ -z "$ffps" ] || [ -z "$gfps" ] || [ -z "$fcpu" ] || [ -z "$gcpu" ]; then
            echo "frame_budget: $size run $i measured nothing: $f / $g" >&2
            continue
        fi
        r=$(awk -v a="$gfps" -v b="$ffps" 'BEGIN { printf "%.2f", a / b }')
        c=$(awk -v a="$fcpu" -v b="$gcpu" 'BEGIN { printf "%.2f", a / b }')
        echo "$size run $i: floor_bg fps $ffps cpu100 $fcpu | garden fps $gfps cpu100 $gcpu | ratio $r (cpu100 ratio $c)"
        ratios="$ratios $r" cpu_ratios="$cpu_ratios $c"
    done
    [ -n "$ratios" ] && summary+=("$size median ratio $(median "$ratios") (cpu100 ratio $(median "$cpu_ratios")); target 0.70")
done
[ ${#summary[@]} -gt 0 ] || exit 1
printf '%s\n' "${summary[@]}"
