#!/bin/bash
# The by-hand run's steps inside one desktop's session (run_kde_gnome.sh
# starts it as the compositor's session command, as the test user): $1 names
# the desktop; WORK is the bed's folder, OUT where its lines and pictures go.
set -u
desktop=$1
. "$WORK/wayland_bed.sh"
. "$WORK/dummy_xorg.sh"   # judge_every_monitor
work=$WORK
report=$OUT/$desktop.txt
dummy_xorg_dir=$(mktemp -d)
exec >"$report" 2>&1
inst=$work/inst
echo "  session: WAYLAND_DISPLAY=${WAYLAND_DISPLAY:-} DISPLAY=${DISPLAY:-}"
# XWayland's outputs as WxH+X+Y.
monitors=$(xrandr --listmonitors | awk 'NR > 1 { print $3 }' | sed -E 's|/-?[0-9]+||g')
echo "  outputs: $(echo $monitors)"
# The session's keyboard and pointer, there before any window of ours, as
# a real one is: lines sent to it are typed or moved.
mkfifo "$dummy_xorg_dir/input"
"$inst/desktop_input" <"$dummy_xorg_dir/input" &
input=$!
exec 3>"$dummy_xorg_dir/input"
send() { echo "$*" >&3; sleep 0.3; }
sleep 1
check() {
  local name=$1
  shift
  if "$@"; then echo "PASS $desktop: $name"; else echo "FAIL $desktop: $name"; fi
}
# The saver's top-level window, wherever the window manager framed it.
our_window() { xwininfo -root -tree | awk '/\("gardenlume.scr" "gardenlume.scr"\)/ { print $1; exit }'; }
full_screen() {
  local w
  w=$(our_window)
  [ -n "$w" ] && xprop -id "$w" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN
}
saver=""
start_saver() {
  "$inst/gardenlume.scr" /s &
  saver=$!
  wait_for 30 full_screen || { echo "  no full-screen window of ours"; return 1; }
  sleep 2
}
ended_with_0() {
  local code
  wait_for 10 gone "$saver" || { echo "  still running"; kill "$saver"; return 1; }
  wait "$saver"
  code=$?
  echo "  exit $code"
  [ $code -eq 0 ]
}

shows_and_escape_ends() {
  cfg_at 0 18
  start_saver || return 1
  local w
  w=$(our_window)
  xwininfo -id "$w" | grep -E 'Absolute|Width|Height' | sed 's/^ */  /'
  echo "  $(xprop -id "$w" _NET_WM_STATE)"
  echo "  ours $w, $(xprop -root _NET_ACTIVE_WINDOW)"
  import -window "$w" "$OUT/$desktop-garden.png"
  judge_every_monitor "$OUT/$desktop-garden.png" $monitors
  local judged=$?
  send key 1
  ended_with_0 && [ $judged -eq 0 ]
}
check "the desktop mode: a focused full-screen window over every output, a whole garden on each; Escape ends it" \
  shows_and_escape_ends

pointer_ends_it() {
  cfg_at 1 18
  start_saver || return 1
  sleep 3
  send move 30 20
  send move -10 5
  ended_with_0
}
check "with the mouse rule on, the pointer ends it" pointer_ends_it

idle_cycle() {
  cfg_at 0 18
  "$inst/gardenlume-idle" --after 3 &
  local idle=$! first second
  sleep 1
  wait_for 30 garden_of "$idle" >/dev/null && wait_for 30 full_screen || { echo "  no garden after 3 s idle"; return 1; }
  first=$(garden_of "$idle")
  import -window "$(our_window)" "$OUT/$desktop-idle-garden.png"
  send key 30
  wait_for 10 no_garden_of "$idle" || { echo "  the garden stayed when the user was back"; return 1; }
  wait_for 30 garden_of "$idle" >/dev/null || { echo "  no garden after the next idle time"; return 1; }
  second=$(garden_of "$idle")
  echo "  gardens $first, then $second"
  kill "$idle"
  wait_for 10 gone "$idle" && gone "$second" || { echo "  a process was left behind"; return 1; }
}
check "gardenlume-idle --after 3: the garden when idle, gone when the user is back, again, nothing left" idle_cycle
exec 3>&-
wait "$input"
rm -rf "$dummy_xorg_dir"
