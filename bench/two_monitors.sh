#!/usr/bin/env bash
# two_monitors.sh - the price of the second draw: the saver's full-screen
# frame rate in the desktop mode on two 960x540 monitors side by side
# against one 1920x540 monitor, the same pixels, both unpaced, each on a
# private Xorg with the dummy driver (tests/support/dummy_xorg.sh; as root).
# The frame rate is Mesa's own count (GALLIUM_HUD's dump), the layouts
# alternate so that a busy moment of the machine falls on both alike.
#
# usage: bench/two_monitors.sh [-b BUILD] [-r RUNS] [-t SECS]
#   -b  build folder holding bin/gardenlume.scr and the packs (default: build)
#   -r  how many pairs to run (default 3)
#   -t  seconds each layout runs (default 8; the first 2 are not counted)
# Prints one line per pair, then the median frame rates, their ratio and the
# gap in per cent. Exit 0 when measured, 1 when something is missing or no
# server starts, 2 on a usage error. Timing only: not a test.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build runs=3 secs=8 warm=2
while getopts "b:r:t:" o; do
    case $o in
        b) build=$OPTARG ;; r) runs=$OPTARG ;; t) secs=$OPTARG ;;
        *) sed -n '2,16p' "$0" >&2; exit 2 ;;
    esac
done
saver=$build/bin/gardenlume.scr
for f in "$saver" "$build/bin/main.pak"; do
    [ -e "$f" ] || { echo "two_monitors: $f is missing" >&2; exit 1; }
done
. "$here/tests/support/dummy_xorg.sh"
work=$(mktemp -d /tmp/two_monitors.XXXXXX)
saver_pid=""
trap '[ -z "$saver_pid" ] || kill "$saver_pid" 2>/dev/null; stop_dummy_xorg; rm -rf "$work"' EXIT
trap 'exit 1' TERM INT
# An installation folder of the build's packs in the desktop mode (row 18).
mkdir "$work/inst"
cp "$build/bin/"*.pak "$work/inst/"
printf '01000000000000000012000000000000000000000000' | xxd -r -p >"$work/inst/cfg"
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n"Path"="%s/"\n' \
    "$work/inst" >"$work/registry.reg"

# $1: "two" (960x540 beside 960x540) or "one" (1920x540).
start_layout() {
    start_dummy_xorg 1920 540 || return 1
    if [ "$1" = two ]; then
        xrandr --newmode b960x540 40.00 960 1000 1100 1200 540 543 548 556 +hsync +vsync &&
            xrandr --addmode DUMMY0 b960x540 && xrandr --addmode DUMMY1 b960x540 &&
            xrandr --output DUMMY0 --mode b960x540 --pos 0x0 --primary --output DUMMY1 --mode b960x540 --pos 960x0
    else
        xrandr --newmode b1920x540 80.00 1920 2000 2200 2400 540 543 548 556 +hsync +vsync &&
            xrandr --addmode DUMMY0 b1920x540 && xrandr --output DUMMY0 --mode b1920x540 --pos 0x0 --primary
    fi
}

# The median frame rate of the saver on layout $1, after the warm-up.
measure() {
    start_layout "$1" >/dev/null 2>&1 || { echo "two_monitors: no $1-monitor server" >&2; return 1; }
    rm -rf "$work/hud" && mkdir "$work/hud"
    GARDENLUME_REGISTRY=$work/registry.reg GALLIUM_HUD_VISIBLE=false GALLIUM_HUD=fps GALLIUM_HUD_PERIOD=0.5 \
        GALLIUM_HUD_DUMP_DIR=$work/hud "$saver" /s >/dev/null 2>&1 &
    saver_pid=$!
    sleep "$secs"
    kill "$saver_pid" 2>/dev/null
    wait "$saver_pid" 2>/dev/null
    saver_pid=""
    stop_dummy_xorg
    tail -n +"$((warm * 2 + 1))" "$work/hud/fps" 2>/dev/null | sort -g |
        awk '{ v[NR] = $1 } END { if (NR) printf "%.1f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
median() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

twos="" ones=""
for ((i = 1; i <= runs; i++)); do
    t=$(measure two) && o=$(measure one) || exit 1
    [ -n "$t" ] && [ -n "$o" ] || { echo "two_monitors: run $i measured nothing" >&2; continue; }
    echo "run $i: two 960x540 monitors $t fps | one 1920x540 monitor $o fps"
    twos="$twos $t" ones="$ones $o"
done
[ -n "$twos" ] || exit 1
t=$(median "$twos") o=$(median "$ones")
awk -v t="$t" -v o="$o" 'BEGIN { printf "median: two monitors %.1f fps, one monitor %.1f fps, ratio %.2f, gap %.0f%%\n", t, o, t / o, 100 * (1 - t / o) }'
