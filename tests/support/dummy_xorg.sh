# Sourced by the tests that need real monitors: a private Xorg (root only)
# with the dummy driver on a free display, its outputs set with xrandr, and
# DISPLAY exported for it. Xvfb cannot stand in: its screens all lie at 0,0
# and it has no modes to switch between.
#   start_two_monitor_xorg  two 800x600 monitors side by side, the primary
#                           at 0,0, the other at 800,0
#   start_desktop_xorg      one 1920x1080 monitor whose mode list also holds
#                           1024x768 and 800x600, as a new user's desktop
#   start_wide_and_lower_xorg  a 1280x720 primary at 0,0 and an 800x600
#                           monitor right of it, 120 rows lower: the
#                           bounding box has a corner no monitor shows
#   stop_dummy_xorg         ends either (stop_two_monitor_xorg too)
dummy_xorg_pid=""
dummy_xorg_dir=""

# $1 x $2: the screen's largest size.
start_dummy_xorg() {
  dummy_xorg_dir=$(mktemp -d)
  printf '%s\n' 'Section "Device"' ' Identifier "d"' ' Driver "dummy"' ' VideoRam 256000' EndSection \
    'Section "Monitor"' ' Identifier "m"' ' HorizSync 5-1000' ' VertRefresh 5-200' EndSection \
    'Section "Screen"' ' Identifier "s"' ' Device "d"' ' Monitor "m"' ' DefaultDepth 24' \
    ' SubSection "Display"' '  Depth 24' "  Virtual $1 $2" ' EndSubSection' EndSection \
    >"$dummy_xorg_dir/xorg.conf"
  Xorg -displayfd 3 -config "$dummy_xorg_dir/xorg.conf" -noreset -nolisten tcp \
    -logfile "$dummy_xorg_dir/log" 3>"$dummy_xorg_dir/display" >/dev/null 2>&1 &
  dummy_xorg_pid=$!
  local i=0
  while [ ! -s "$dummy_xorg_dir/display" ] && kill -0 "$dummy_xorg_pid" 2>/dev/null && [ $i -lt 200 ]; do
    sleep 0.1
    i=$((i + 1))
  done
  [ -s "$dummy_xorg_dir/display" ] || { echo "Xorg (dummy) did not start" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$dummy_xorg_dir/display" | tr -d '[:space:]')"
}

start_two_monitor_xorg() {
  start_dummy_xorg 1600 600 || return 1
  # 800x600 at 60 Hz, the VESA timing.
  xrandr --newmode g800x600 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync &&
    xrandr --addmode DUMMY0 g800x600 && xrandr --addmode DUMMY1 g800x600 &&
    xrandr --output DUMMY0 --mode g800x600 --pos 0x0 --primary \
      --output DUMMY1 --mode g800x600 --right-of DUMMY0 &&
    [ "$(xrandr --listmonitors | head -n1)" = "Monitors: 2" ] ||
    { echo "$DISPLAY shows no two monitors" >&2; return 1; }
}

start_desktop_xorg() {
  start_dummy_xorg 1920 1080 || return 1
  # The CVT and VESA timings at 60 Hz.
  xrandr --newmode g1920x1080 173.00 1920 2048 2248 2576 1080 1083 1088 1120 -hsync +vsync &&
    xrandr --newmode g1024x768 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync &&
    xrandr --newmode g800x600 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync &&
    xrandr --addmode DUMMY0 g1920x1080 && xrandr --addmode DUMMY0 g1024x768 &&
    xrandr --addmode DUMMY0 g800x600 &&
    xrandr --output DUMMY0 --mode g1920x1080 --pos 0x0 --primary &&
    [ "$(xrandr --listmonitors | head -n1)" = "Monitors: 1" ] &&
    xrandr --current | head -n1 | grep -q 'current 1920 x 1080' ||
    { echo "$DISPLAY shows no 1920x1080 monitor" >&2; return 1; }
}

start_wide_and_lower_xorg() {
  start_dummy_xorg 2080 720 || return 1
  xrandr --newmode g1280x720 74.25 1280 1390 1430 1650 720 725 730 750 +hsync +vsync &&
    xrandr --newmode g800x600 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync &&
    xrandr --addmode DUMMY0 g1280x720 && xrandr --addmode DUMMY1 g800x600 &&
    xrandr --output DUMMY0 --mode g1280x720 --pos 0x0 --primary \
      --output DUMMY1 --mode g800x600 --pos 1280x120 &&
    [ "$(xrandr --listmonitors | head -n1)" = "Monitors: 2" ] ||
    { echo "$DISPLAY shows no 16:9 and 4:3 monitors" >&2; return 1; }
}

stop_dummy_xorg() {
  [ -z "$dummy_xorg_pid" ] || { kill "$dummy_xorg_pid"; wait "$dummy_xorg_pid"; } 2>/dev/null
  [ -z "$dummy_xorg_dir" ] || rm -rf "$dummy_xorg_dir"
  dummy_xorg_pid=""
  dummy_xorg_dir=""
}

stop_two_monitor_xorg() { stop_dummy_xorg; }
