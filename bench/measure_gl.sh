#!/usr/bin/env bash
# measure_gl.sh - frame rate, CPU, memory and time to the first frame of one
# GL program, run under a private Xvfb of its own on Mesa's software
# renderer. Frames are counted by Mesa itself: its gallium HUD, kept
# invisible, writes the frame rate of each period to a file.
#
# usage: bench/measure_gl.sh [-s WxH] [-t SECS] [-w WARMUP] [-l LABEL] -- command [args...]
#   -s  the X server's screen (default 1024x768, 24 bits)
#   -t  seconds from the first frame to the end of the measurement (default 10)
#   -w  seconds after the first frame left out of it (default 1)
#   -l  the label of the result (default: the command's file name)
#
# Prints one line: label=L fps_med=F fps_mean=F n=N cpu_pct=P cpu100=C
# rss_mb=M first_ms=T, where cpu_pct is the program's CPU (every thread,
# the renderer's too) as % of one core, cpu100 its CPU seconds per 100
# frames, rss_mb its peak resident memory and first_ms the time from the
# start to its first frame (the HUD's first sample less one period, so
# within a frame and the polling). Exit 1 when nothing was measured.
set -u
size=1024x768 secs=10 warm=1 label="" period=0.25
while getopts "s:t:w:l:" o; do
    case $o in
        s) size=$OPTARG ;; t) secs=$OPTARG ;; w) warm=$OPTARG ;; l) label=$OPTARG ;;
        *) sed -n '7,11p' "$0" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ "${1:-}" = "--" ] && shift
[ $# -ge 1 ] || { sed -n '7,11p' "$0" >&2; exit 2; }
[ -n "$label" ] || label=$(basename "$1")

work=$(mktemp -d /tmp/measure_gl.XXXXXX)
server="" program=""
finish() {
    [ -n "$program" ] && kill -KILL "$program" 2>/dev/null
    [ -n "$server" ] && { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; }
    rm -rf "$work"
}
trap finish EXIT
seconds_now() { echo "${EPOCHREALTIME/,/.}"; }
# CPU clock ticks of a process, all its threads: utime + stime.
cpu_ticks() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || { echo 0; return; }
    set -- ${stat##*) }
    echo $(( ${12} + ${13} ))
}
wait_until() { local d; d=$(awk -v t="$1" -v n="$(seconds_now)" 'BEGIN { d = t - n; print (d > 0 ? d : 0) }'); sleep "$d"; }

Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "label=$label error=no_x_server"; exit 1; }
mkdir "$work/hud"
started=$(seconds_now)
env DISPLAY=":$(head -n1 "$work/display")" GALLIUM_HUD=fps GALLIUM_HUD_VISIBLE=false \
    GALLIUM_HUD_PERIOD=$period GALLIUM_HUD_DUMP_DIR="$work/hud" "$@" >"$work/program.log" 2>&1 &
program=$!

# The first sample: polled every 5 ms without starting processes, which
# would slow the program's own start (a read that times out on a FIFO
# nobody writes is bash's own sleep).
mkfifo "$work/never"
exec 4<>"$work/never"
for ((i = 0; ; i++)); do
    [ -s "$work/hud/fps" ] && break
    kill -0 "$program" 2>/dev/null || { echo "label=$label error=program_ended"; cat "$work/program.log" >&2; exit 1; }
    [ $i -lt 12000 ] || { echo "label=$label error=no_frame_in_60s"; exit 1; }
    read -r -t 0.005 -u 4 || true
done
exec 4>&-
first=$(awk -v s="$(seconds_now)" -v p="$period" 'BEGIN { printf "%.3f", s - p }')

wait_until "$(awk -v f="$first" -v w="$warm" 'BEGIN { printf "%.6f", f + w }')"
from=$(seconds_now) ticks_from=$(cpu_ticks "$program")
wait_until "$(awk -v f="$first" -v t="$secs" 'BEGIN { printf "%.6f", f + t }')"
to=$(seconds_now) ticks_to=$(cpu_ticks "$program")
rss=$(awk '/^VmHWM:/ { printf "%.1f", $2 / 1024 }' "/proc/$program/status" 2>/dev/null)
kill -TERM "$program" 2>/dev/null
for _ in $(seq 60); do kill -0 "$program" 2>/dev/null || break; sleep 0.05; done
kill -KILL "$program" 2>/dev/null
wait "$program" 2>/dev/null
program=""

# The samples of the warm-up are left out; the rest give the frame rate.
skip=$(awk -v w="$warm" -v p="$period" 'BEGIN { printf "%d", w / p + 0.5 }')
tail -n +"$((skip + 1))" "$work/hud/fps" | sort -g | awk -v label="$label" -v hz="$(getconf CLK_TCK)" \
    -v wall="$(awk -v a="$from" -v b="$to" 'BEGIN { printf "%.6f", b - a }')" -v ticks=$((ticks_to - ticks_from)) \
    -v rss="${rss:-NA}" -v first="$(awk -v a="$started" -v b="$first" 'BEGIN { printf "%d", (b - a) * 1000 }')" '
    { fps[NR] = $1; sum += $1 }
    END {
        if (NR == 0 || wall <= 0) { printf "label=%s error=no_samples\n", label; exit 1 }
        median = NR % 2 ? fps[(NR + 1) / 2] : (fps[NR / 2] + fps[NR / 2 + 1]) / 2
        mean = sum / NR; cpu = ticks / hz
        printf "label=%s fps_med=%.1f fps_mean=%.1f n=%d cpu_pct=%.0f cpu100=%.3f rss_mb=%s first_ms=%s\n",
            label, median, mean, NR, 100 * cpu / wall, 100 * cpu / (mean * wall), rss, first
    }'
