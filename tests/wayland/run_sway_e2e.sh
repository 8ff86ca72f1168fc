#!/bin/bash
# The garden on a Wayland desktop, as a sway user sees it (as root: sway
# refuses root, so it runs as the system user gardenlume-e2e, made here when
# missing): headless sway 1.7 with XWayland and two outputs, 1280x720 and
# 800x600 to its right.
#   run_sway_e2e.sh BUILD
# 1. the desktop mode shows a whole garden on each output (grim), and
#    Escape typed through the compositor (wtype) ends it with 0;
# 2. with the mouse rule on, the compositor's pointer moving ends it with 0;
# 3. gardenlume-idle --after 3 shows the garden after the idle time, lets
#    the desktop's own idle time run on under it (swayidle fires), ends it
#    when a key is typed, shows it again after the next idle time, and
#    leaves no process behind when it is ended;
# 4. without Wayland gardenlume-idle says so in one line and exits 2;
#    --autostart writes the autostart entry, --no-autostart removes it.
# The headless seat has no devices: the build's virtual_pointer gives it a
# pointer, and wtype brings its own keyboard. Closing line: "sway: N passed,
# N failed".
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/dummy_xorg.sh"   # judge_every_monitor
. "$here/wayland_bed.sh"
bed_setup "$(cd "$1" && pwd)" || exit 1
dummy_xorg_dir=$work   # where judge_every_monitor keeps its crops
sway_pid=""
# sway is the one child of the subshell that starts it.
trap '[ -z "$sway_pid" ] || { pkill -P "$sway_pid"; wait "$sway_pid"; } 2>/dev/null; rm -rf "$work"' EXIT
trap 'exit 1' TERM INT
passed=0
failed=0
check() {  # name, then the command that must succeed
  local name=$1
  shift
  if "$@"; then echo "PASS $name"; passed=$((passed + 1)); else echo "FAIL $name"; failed=$((failed + 1)); fi
}

bed_env=(WAYLAND_DISPLAY=wayland-1 SWAYSOCK="$work/run/sway.sock")
printf '%s\n' 'output HEADLESS-1 mode 1280x720 position 0 0' 'output HEADLESS-2 mode 800x600 position 1280 0' \
  'xwayland enable' >"$work/config"
(
  cd "$work" || exit 1
  bed_env=(SWAYSOCK="$work/run/sway.sock" WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1
    WLR_RENDERER=pixman)
  exec > "$work/sway.log" 2>&1
  as_user sway -c "$work/config"
) &
sway_pid=$!
for _ in $(seq 100); do [ -S "$work/run/sway.sock" ] && [ -S "$work/run/wayland-1" ] && break; sleep 0.1; done
as_user swaymsg -t get_version >/dev/null 2>&1 || { echo "FAIL sway did not start"; cat "$work/sway.log"; exit 1; }
as_user "$work/inst/virtual_pointer" >"$work/pointer.out" 2>&1 &
for _ in $(seq 50); do grep -q ready "$work/pointer.out" && break; sleep 0.1; done

# Starts the saver full screen through sway; its exit code lands in $work/home/saver.rc.
start_saver() {
  rm -f "$work/home/saver.rc"
  printf '#!/bin/sh\n%s /s\necho $? >%s\n' "$work/inst/gardenlume.scr" "$work/home/saver.rc" >"$work/saver.sh"
  chmod a+rx "$work/saver.sh"
  as_user swaymsg exec "$work/saver.sh" >/dev/null
}
# Waits until sway shows a window spread full screen over every output
# ("fullscreen_mode": 2), at most 30 s, then lets it draw a moment.
wait_full_screen() {
  for _ in $(seq 150); do
    as_user swaymsg -t get_tree | grep -q '"fullscreen_mode": 2' && { sleep 1; return 0; }
    sleep 0.2
  done
  echo "  no window full screen over every output"
  return 1
}
saver_ended_with_0() {
  for _ in $(seq 50); do [ -s "$work/home/saver.rc" ] && break; sleep 0.2; done
  local code
  code=$(cat "$work/home/saver.rc" 2>/dev/null)
  echo "  exit ${code:-none: still running}"
  [ "$code" = 0 ]
}

gardens_shown() {
  as_user grim "$work/home/shot.png" && judge_every_monitor "$work/home/shot.png" 1280x720+0+0 800x600+1280+0
}
gardens_then_escape() {
  cfg_at 0 18
  start_saver
  wait_full_screen || return 1
  # The first frames may be slow on a busy machine: the picture is taken
  # until it holds the gardens, for 30 s at most.
  wait_for 30 gardens_shown >/dev/null
  gardens_shown || return 1
  as_user wtype -k Escape
  saver_ended_with_0
}
check "the desktop mode shows a whole garden on each output; Escape through the compositor ends it" gardens_then_escape

moved_and_ended() {
  as_user swaymsg seat - cursor move 40 30 >/dev/null && as_user swaymsg -- seat - cursor move -40 -30 >/dev/null
  sleep 0.8
  [ -s "$work/home/saver.rc" ]
}
pointer_ends_it() {
  cfg_at 1 18
  start_saver
  wait_full_screen || return 1
  # The rule counts from the first frame on, after its 3 s: the pointer
  # goes on moving, for 30 s at most.
  wait_for 30 moved_and_ended
  saver_ended_with_0
}
check "with the mouse rule on, the compositor's pointer ends it" pointer_ends_it

idle_cycle() {
  cfg_at 0 18
  printf '#!/bin/sh\necho $$ >%s\nexec %s --after 3\n' "$work/home/idle.pid" "$work/inst/gardenlume-idle" \
    >"$work/idle.sh"
  chmod a+rx "$work/idle.sh"
  as_user swaymsg exec "$work/idle.sh" >/dev/null
  as_user swayidle timeout 6 "touch $work/home/desktop-idle" &
  local swayidle=$!
  wait_for 5 test -s "$work/home/idle.pid" || return 1
  local idle first second
  idle=$(cat "$work/home/idle.pid")
  wait_for 30 garden_of "$idle" >/dev/null && wait_full_screen || { echo "  no garden after the idle time"; return 1; }
  first=$(garden_of "$idle")
  # The desktop's own idle time runs on under the garden: swayidle, started
  # with it, fires while the garden shows.
  wait_for 15 test -e "$work/home/desktop-idle" || { echo "  the desktop's idle time was held back"; return 1; }
  gone "$first" && { echo "  the garden ended by itself"; return 1; }
  as_user wtype -k a
  wait_for 10 no_garden_of "$idle" || { echo "  the garden stayed when the user was back"; return 1; }
  wait_for 30 garden_of "$idle" >/dev/null || { echo "  no garden after the next idle time"; return 1; }
  second=$(garden_of "$idle")
  echo "  gardens $first, then $second"
  kill "$idle"
  pkill -P "$swayidle"; kill "$swayidle"
  wait_for 10 gone "$idle" || { echo "  gardenlume-idle did not end"; return 1; }
  gone "$second" || { echo "  its garden was left behind"; return 1; }
}
check "gardenlume-idle --after 3 shows the garden when idle, ends it, shows it again, leaves nothing behind" idle_cycle

without_wayland() {
  local out code=0
  out=$(env -u WAYLAND_DISPLAY "$work/inst/gardenlume-idle" 2>&1) || code=$?
  echo "  exit $code: $out"
  [ $code -eq 2 ] && [ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] && [[ $out == *XScreenSaver* ]]
}
check "without Wayland gardenlume-idle says to use XScreenSaver and exits 2" without_wayland

autostart_entry() {
  local entry=$work/home/.config/autostart/gardenlume-idle.desktop
  as_user "$work/inst/gardenlume-idle" --autostart --after 600 >/dev/null &&
    grep -qx "Exec=$work/inst/gardenlume-idle --after 600" "$entry" &&
    as_user "$work/inst/gardenlume-idle" --no-autostart >/dev/null && [ ! -e "$entry" ]
}
check "--autostart writes the session's autostart entry, --no-autostart removes it" autostart_entry

echo "sway: $passed passed, $failed failed"
[ $failed -eq 0 ]
