#!/usr/bin/env bash
# windows_fps.sh - the frame rate of the Windows build under Wine against the
# Linux build, in the same run, both on Mesa's llvmpipe: each measured by
# measure_gl.sh (Mesa's HUD) under its own private Xvfb, in turns.
#
# usage: bench/windows_fps.sh [-b BUILD] [-w WINDOWS_BUILD] [-t SECS] [-r RUNS] [-T TOOLS]
#   -b  Linux build folder with bin/gardenlume.scr and the packs (default: build)
#   -w  Windows build folder (tools/build-windows.sh; default: build-windows)
#   -t  seconds each program is measured (default 8)
#   -r  how many Linux/Windows pairs to run (default 3)
#   -T  folder with a glfps.sh to use instead of measure_gl.sh (default:
#       $GARDENLUME_SHARED_TOOLS)
# Prints one line per pair (fps and cpu100 of each, the ratio Windows/Linux),
# then the median ratio. Exit 0 when measured, 1 when something is missing,
# 2 on a usage error. Timing only: not a test, no pass/fail on the ratio.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build win=$here/build-windows secs=8 runs=3 tools=${GARDENLUME_SHARED_TOOLS:-}
while getopts "b:w:t:r:T:" o; do
    case $o in
        b) build=$OPTARG ;; w) win=$OPTARG ;; t) secs=$OPTARG ;; r) runs=$OPTARG ;; T) tools=$OPTARG ;;
        *) sed -n '2,15p' "$0" >&2; exit 2 ;;
    esac
done
measure=$here/bench/measure_gl.sh
[ -z "$tools" ] || measure=$tools/glfps.sh
for f in "$measure" "$build/bin/gardenlume.scr" "$win/bin/gardenlume.scr" "$win/bin/main.pak"; do
    [ -e "$f" ] || { echo "windows_fps: $f is missing" >&2; exit 1; }
done
. "$here/tests/windows/wine_env.sh"
wine_prefix_ready || exit 1
trap 'wine_prefix_done' EXIT
# No registry value: the Windows saver reads its own folder.
wine reg delete 'HKLM\Software\Korvanta\Gardenlume\Settings' /v Path /f >/dev/null 2>&1
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)

field() { sed -n "s/.* $1=\([0-9.]*\).*/\1/p" <<<"$2"; }
ratios=""
for ((i = 1; i <= runs; i++)); do
    l=$(GARDENLUME_REGISTRY=/nonexistent bash "$measure" -t "$secs" -l linux -- \
        "$build/bin/gardenlume.scr" /s)
    w=$(bash "$measure" -t "$secs" -l windows -- "$wine64" "$win/bin/gardenlume.scr" /s)
    lfps=$(field fps_med "$l") wfps=$(field fps_med "$w")
    if [ -z "$lfps" ] || [ -z "$wfps" ]; then
        echo "windows_fps: run $i measured nothing: $l / $w" >&2
        continue
    fi
    r=$(awk -v a="$wfps" -v b="$lfps" 'BEGIN { printf "%.2f", a / b }')
    echo "run $i: linux fps $lfps cpu100 $(field cpu100 "$l") | windows (Wine) fps $wfps cpu100 $(field cpu100 "$w") | ratio $r"
    ratios="$ratios $r"
done
[ -n "$ratios" ] || exit 1
median() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "median ratio windows/linux $(median "$ratios")"
