#!/bin/bash
# The saver's tests on real monitors (as root: private Xorg servers with the
# dummy driver):
#   run_monitor_e2e.sh BUILD
# 1. two 800x600 monitors side by side: test_app_two_monitors, the desktop
#    mode's garden on each at one moment, then the server ended under the
#    full screen; a 1280x720 monitor beside a lower 800x600 one, and beside
#    a 720x1280 one standing upright: a garden on each; a 1366x768 monitor
#    mirrored to a 1280x1024 one: one garden over both;
# 2. one 1920x1080 monitor that also offers 1024x768 and 800x600:
#    test_app_desktop_monitor, then tools/run.sh on that desktop from a
#    build folder without settings (the garden fills the screen, the
#    settings it writes are the desktop mode) and with settings (kept byte
#    for byte).
# Exits non-zero when a server does not start or a test fails.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
. "$here/../support/dummy_xorg.sh"
work=$(mktemp -d)
saved_cfg=""
# The build folder's own settings, put back however the run ends.
restore_cfg() {
  rm -f "$build/bin/cfg"
  [ -z "$saved_cfg" ] || mv "$saved_cfg" "$build/bin/cfg"
}
trap 'stop_dummy_xorg; restore_cfg; rm -rf "$work"' EXIT
# Killed by a timeout: still stop the server.
trap 'exit 1' TERM INT
status=0
# version 1, mouse byte, spare 0, mode, two empty texts: 21 bytes.
cfg_hex() { printf '01000000%02x00000000%02x0000000000000000000000' "$2" "$1"; }
# An installation folder $1 of the build's packs in mode $2, and its registry file $1.reg.
install_in() {
  mkdir -p "$1"
  cp "$build/bin/"*.pak "$1/"
  cfg_hex "$2" 0 | xxd -r -p >"$1/cfg"
  printf 'Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n"Path"="%s/"\n' \
    "$1" >"$1.reg"
}
# The desktop mode on the monitors $@ (WxH+X+Y): a garden on each, judged
# from a picture ($work/every.png), no display mode changed, Escape ends it
# with 0. Under a clock that moves at every reading: views of two moments
# always differ.
every_monitor_run() {
  local modes code fails=0
  install_in "$work/every" 18
  modes=$(xrandr --current | grep -v '^ ')
  LD_PRELOAD=$build/tests/libgardenlume_ticking_clock.so GARDENLUME_REGISTRY=$work/every.reg \
    "$build/bin/gardenlume.scr" /s 2>"$work/every.err" &
  local saver=$!
  sleep 5
  import -window root "$work/every.png"
  [ "$(xrandr --current | grep -v '^ ')" = "$modes" ] || { echo "  a display mode changed"; fails=1; }
  xdotool key Escape
  wait "$saver"
  code=$?
  echo "  exit $code $(cat "$work/every.err")"
  judge_every_monitor "$work/every.png" "$@" && [ $code -eq 0 ] && [ $fails -eq 0 ]
}
every_monitor_check() {
  if every_monitor_run "$@"; then
    echo "PASS the desktop mode shows a whole garden on each of $*"
  else
    echo "FAIL the desktop mode shows a whole garden on each of $*"
    status=1
  fi
}

start_two_monitor_xorg || exit 1
echo "Two-monitor X server: $DISPLAY"
"$build/tests/test_app_two_monitors" || status=1
every_monitor_check 800x600+0+0 800x600+800+0
stop_dummy_xorg

start_wide_and_lower_xorg || exit 1
echo "16:9 and lower 4:3 X server: $DISPLAY"
every_monitor_check 1280x720+0+0 800x600+1280+120
stop_dummy_xorg

start_wide_and_portrait_xorg || exit 1
echo "16:9 and upright 9:16 X server: $DISPLAY"
every_monitor_check 1280x720+0+0 720x1280+1280+0
stop_dummy_xorg

# Mirrors of two sizes share the pixels of 1280x768: one garden over the
# box round both, going on unbroken where the narrower one ends.
start_mirrored_xorg || exit 1
echo "1366x768 mirrored to 1280x1024 X server: $DISPLAY"
if every_monitor_run 1366x1024+0+0 && judge_one_garden_across "$work/every.png" 1280 768; then
  echo "PASS the desktop mode shows one garden over mirrors of two sizes"
else
  echo "FAIL the desktop mode shows one garden over mirrors of two sizes"
  status=1
fi
stop_dummy_xorg

# The X server ended under the full screen: the saver and its cover each
# hold a connection; the saver ends once, with 1 and one line.
start_two_monitor_xorg || exit 1
lost=$work/lost
install_in "$lost" 3  # 800x600, the monitors' size
GARDENLUME_REGISTRY=$lost.reg "$build/bin/gardenlume.scr" /s 2>"$work/lost.err" &
saver=$!
sleep 4
kill "$dummy_xorg_pid"
wait "$dummy_xorg_pid" 2>/dev/null
dummy_xorg_pid=""
wait "$saver"
code=$?
lines=$(wc -l <"$work/lost.err")
echo "  exit $code, stderr: $(cat "$work/lost.err")"
if [ $code -eq 1 ] && [ "$lines" -eq 1 ]; then
  echo "PASS the X server ended under the full screen ends the saver once, with 1 and one line"
else
  echo "FAIL the X server ended under the full screen ends the saver once, with 1 and one line"
  status=1
fi
stop_dummy_xorg

start_desktop_xorg || exit 1
echo "1920x1080 X server: $DISPLAY"
"$build/tests/test_app_desktop_monitor" || status=1

# Mean colour of a region of the screen as "r g b", 0..255.
screen_mean() {
  import -window root "$work/shot.png" 2>/dev/null &&
    convert "$work/shot.png" -crop "$1" +repage -scale '1x1!' \
      -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}
# tools/run.sh as a user starts it; its saver ends on Escape.
run_sh() {
  GARDENLUME_BUILD_DIR=$build "$root/tools/run.sh" >"$work/run.log" 2>&1 &
  local pid=$! i=0 r g b
  # The build is up to date: the garden shows in the middle within seconds.
  while [ $i -lt 120 ] && kill -0 "$pid" 2>/dev/null; do
    read -r r g b <<<"$(screen_mean 64x64+928+508)"
    [ $((r + g + b)) -gt 60 ] && break
    sleep 0.5
    i=$((i + 1))
  done
  sleep 2
  local left right
  left=$(screen_mean 8x1080+0+0)
  right=$(screen_mean 8x1080+1912+0)
  xdotool key Escape
  wait "$pid"
  local code=$?
  echo "  run.sh exit $code, left edge $left, right edge $right"
  [ $code -eq 0 ] || { cat "$work/run.log"; return 1; }
  read -r r g b <<<"$left"
  [ $((r + g + b)) -gt 60 ] || return 1
  read -r r g b <<<"$right"
  [ $((r + g + b)) -gt 60 ]
}
[ -e "$build/bin/cfg" ] && { saved_cfg=$work/saved-cfg; mv "$build/bin/cfg" "$saved_cfg"; }
if run_sh && [ "$(xxd -p "$build/bin/cfg" | tr -d '\n')" = "$(cfg_hex 18 0)" ]; then
  echo "PASS tools/run.sh without settings fills the 1920x1080 screen and writes the desktop mode"
else
  echo "FAIL tools/run.sh without settings fills the 1920x1080 screen and writes the desktop mode"
  status=1
fi
cfg_hex 5 1 | xxd -r -p >"$build/bin/cfg"
cp "$build/bin/cfg" "$work/cfg.before"
# Mode 5 shows centred: the edges stay black, so only the bytes are judged.
run_sh >/dev/null
if cmp -s "$build/bin/cfg" "$work/cfg.before"; then
  echo "PASS tools/run.sh keeps settings already there byte for byte"
else
  echo "FAIL tools/run.sh keeps settings already there byte for byte"
  status=1
fi
exit $status
