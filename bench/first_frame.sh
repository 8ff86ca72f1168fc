#!/usr/bin/env bash
# first_frame.sh - how soon the saver shows its first frame, against the
# cheapest program with the same display and a background picture: floor
# run with -bg. Both are measured by measure_gl.sh (launch to first frame,
# each under its own private Xvfb), interleaved floor, saver, floor, saver...
# so that a busy moment of the machine falls on both alike.
# The saver's first frame should come within 1.15 of the floor's.
#
# usage: bench/first_frame.sh [-b BUILD] [-r RUNS] [-t SECS] [-T TOOLS]
#   -b  build folder holding bin/gardenlume.scr and the packs (default: build)
#   -r  how many floor/saver pairs to run (default 5)
#   -t  seconds each program runs after its first frame (default 3; also
#       gives the frame rate and the peak memory printed beside)
#   -T  folder with a floor.c and glfps.sh to use instead of ours (default:
#       $GARDENLUME_SHARED_TOOLS; bench_tools.sh says how they are found)
# Prints one line per pair (first frame in ms, frame rate, peak RSS in MiB)
# and the medians with the ratio of the first frames. Exit 0 when measured,
# 1 when something is missing, 2 on a usage error. Timing only: not a test.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build runs=5 secs=3 tools=${GARDENLUME_SHARED_TOOLS:-}
while getopts "b:r:t:T:" o; do
    case $o in
        b) build=$OPTARG ;; r) runs=$OPTARG ;; t) secs=$OPTARG ;; T) tools=$OPTARG ;;
        *) sed -n '2,18p' "$0" >&2; exit 2 ;;
    esac
done
saver=$build/bin/gardenlume.scr
for f in "$saver" "$build/bin/main.pak"; do
    [ -e "$f" ] || { echo "first_frame: $f is missing" >&2; exit 1; }
done
scratch=$(mktemp -d /tmp/first_frame.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
. "$here/bench/bench_tools.sh"
bench_tools first_frame "$build" "$tools" "$scratch" || exit 1

field() { sed -n "s/.* $1=\([0-9.]*\).*/\1/p" <<<"$2"; }
median() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ff="" gf="" ffps="" gfps="" frss="" grss=""
for ((i = 1; i <= runs; i++)); do
    f=$(bash "$measure" -t "$secs" -l floor_bg -- "$floor" -bg)
    g=$(GARDENLUME_REGISTRY=/nonexistent bash "$measure" -t "$secs" -l garden -- "$saver" /s)
    a=$(field first_ms "$f") b=$(field first_ms "$g")
    if [ -z "$a" ] || [ -z "$b" ]; then
        echo "first_frame: run $i measured nothing: $f / $g" >&2
        continue
    fi
    echo "run $i: floor_bg first $a ms fps $(field fps_med "$f") rss $(field rss_mb "$f") |" \
        "garden first $b ms fps $(field fps_med "$g") rss $(field rss_mb "$g")"
    ff="$ff $a" gf="$gf $b"
    ffps="$ffps $(field fps_med "$f")" gfps="$gfps $(field fps_med "$g")"
    frss="$frss $(field rss_mb "$f")" grss="$grss $(field rss_mb "$g")"
done
[ -n "$gf" ] || exit 1
mf=$(median "$ff") mg=$(median "$gf")
echo "median first frame: floor_bg $mf ms, garden $mg ms, ratio" \
    "$(awk -v a="$mg" -v b="$mf" 'BEGIN { printf "%.2f", a / b }') (target 1.15);" \
    "fps floor_bg $(median "$ffps") garden $(median "$gfps"); peak rss floor_bg $(median "$frss") garden $(median "$grss") MiB"
