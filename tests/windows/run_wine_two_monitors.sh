#!/bin/bash
# The Windows saver under Wine on a private Xorg with two 800x600 monitors
# side by side (as root: Xorg's dummy driver), a red X window on the second:
#   run_wine_two_monitors.sh WINDOWS_BUILD
# While the saver runs full screen the second monitor is black; Escape (the
# keyboard focus on the red window) and, with the mouse rule, movement over
# the second monitor end it with 0, and the red window is in view again.
# Ends with "windows two monitors: N passed, N failed"; exits non-zero on
# any failure.
set -u
here=$(cd "$(dirname "$0")" && pwd)
win=$(cd "$1" && pwd)
. "$here/wine_env.sh"
. "$here/../support/two_monitor_xorg.sh"
work=$(mktemp -d)
red_pid=""
saver_pid=""
ran_on=no
cleanup() {
  [ -z "$red_pid" ] || kill "$red_pid" 2>/dev/null
  # A shared prefix's Wine must not stay on the server that goes now.
  [ -z "${GARDENLUME_WINEPREFIX:-}" ] || wineserver -k >/dev/null 2>&1
  wine_prefix_done
  stop_two_monitor_xorg
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' TERM INT
start_two_monitor_xorg || exit 1
# A Wine already running keeps the monitors of the server it started on.
[ -z "${GARDENLUME_WINEPREFIX:-}" ] || WINEPREFIX=$GARDENLUME_WINEPREFIX wineserver -k >/dev/null 2>&1
wine_prefix_ready || exit 1

passed=0
failed=0
check() {
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "PASS $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
  fi
}

# Waits up to $2 seconds for process $1; its exit code, or 124 when it ran on.
wait_for() {
  local pid=$1 limit=$(($2 * 10)) i=0
  while kill -0 "$pid" 2>/dev/null; do
    if [ $i -ge "$limit" ]; then
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
      return 124
    fi
    sleep 0.1
    i=$((i + 1))
  done
  wait "$pid"
}

# The mean colour inside the red window's place on the second monitor, "r g b".
second_monitor() {
  import -window root "$work/screen.png" 2>/dev/null
  convert "$work/screen.png" -crop 680x480+860+60 +repage -scale '1x1!' \
    -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}
is_red() { local r g b; read -r r g b <<<"$1"; [ "$r" -gt 200 ] && [ "$g" -lt 40 ] && [ "$b" -lt 40 ]; }
is_black() { local r g b; read -r r g b <<<"$1"; [ "$r" -lt 8 ] && [ "$g" -lt 8 ] && [ "$b" -lt 8 ]; }

settings_key='HKLM\Software\Korvanta\Gardenlume\Settings'
inst=$work/inst
mkdir -p "$inst"
cp "$win/bin/gardenlume.scr" "$win/bin/"*.pak "$inst/"
wine reg add "$settings_key" /v Path /d "$(winepath -w "$inst")\\" /f >/dev/null 2>&1
# version 1, mouse byte, spare 0, mode 3 (800x600, the monitors' size), two
# empty texts.
write_cfg() { printf '01000000%02x0000000003000000%016d' "$1" 0 | xxd -r -p >"$inst/cfg"; }

xlogo -bg red -fg red -geometry 700x500+850+50 >/dev/null 2>&1 &
red_pid=$!
red_window=""
for _ in $(seq 100); do
  red_window=$(xdotool search --onlyvisible --classname xlogo 2>/dev/null | head -n1)
  [ -n "$red_window" ] && is_red "$(second_monitor)" && break
  sleep 0.1
done

# Gives the red window the keyboard focus, runs the saver with mouse byte
# $1, waits until the second monitor is black and the 3 s of grace are
# surely over, does $2..., and expects the end with 0 and the red window
# back. (The saver takes the focus as it starts, as on Windows; Wine, unlike
# SDL on X11, grabs no keyboard, so a focus moved to another X client later
# is out of any Windows program's reach.)
run_and_end() {
  local mouse=$1
  shift
  is_red "$(second_monitor)" || { echo "  the red window is not in view"; return 1; }
  xdotool windowfocus "$red_window" 2>/dev/null
  write_cfg "$mouse"
  local started=$SECONDS
  (cd "$work" && exec wine "$inst/gardenlume.scr" /s) &
  local pid=$! i=0 shown
  saver_pid=$pid
  while ! is_black "$(second_monitor)" && [ $i -lt 60 ]; do sleep 0.5; i=$((i + 1)); done
  shown=$(second_monitor)
  echo "  second monitor while running: $shown"
  is_black "$shown" || { wineserver -k >/dev/null 2>&1; wait "$pid"; return 1; }
  while [ $((SECONDS - started)) -lt 5 ]; do sleep 0.2; done
  "$@"
  wait_for $pid 20
  local status=$?
  # A saver that ran on must not spoil the next check.
  [ $status -ne 124 ] || wineserver -k >/dev/null 2>&1
  shown=$(second_monitor)
  echo "  exit $status, second monitor after: $shown"
  [ $status -eq 0 ] && is_red "$shown"
}
move_over_second() { xdotool mousemove 1200 300 && xdotool mousemove 1300 400; }
# Movement without the rule: the saver must still run for the Escape after it.
move_then_escape() {
  move_over_second
  sleep 1.5
  kill -0 "$saver_pid" 2>/dev/null && ran_on=yes
  xdotool key Escape
}
movement_ignored() {
  ran_on=no
  run_and_end 0 move_then_escape && [ "$ran_on" = yes ]
}

check "/s: second monitor black; Escape (the red window had the focus) ends with 0 and shows it again" \
  run_and_end 0 xdotool key Escape
check "/s with the mouse rule: movement over the second monitor ends with 0" run_and_end 1 move_over_second
check "/s without the mouse rule: movement over the second monitor ends nothing" movement_ignored

echo "windows two monitors: $passed passed, $failed failed"
[ $failed -eq 0 ]
