# Sourced by the two-monitor tests. start_two_monitor_xorg starts a private
# Xorg (root only) with the dummy driver on a free display, gives it two
# 800x600 monitors side by side through RandR (the primary at 0,0, the
# other at 800,0) and exports DISPLAY for it; stop_two_monitor_xorg ends it.
# Xvfb cannot stand in: its screens all lie at 0,0.
two_monitor_pid=""
two_monitor_dir=""

start_two_monitor_xorg() {
  two_monitor_dir=$(mktemp -d)
  printf '%s\n' 'Section "Device"' ' Identifier "d"' ' Driver "dummy"' ' VideoRam 256000' EndSection \
    'Section "Monitor"' ' Identifier "m"' ' HorizSync 5-1000' ' VertRefresh 5-200' EndSection \
    'Section "Screen"' ' Identifier "s"' ' Device "d"' ' Monitor "m"' ' DefaultDepth 24' \
    ' SubSection "Display"' '  Depth 24' '  Virtual 1600 600' ' EndSubSection' EndSection \
    >"$two_monitor_dir/xorg.conf"
  Xorg -displayfd 3 -config "$two_monitor_dir/xorg.conf" -noreset -nolisten tcp \
    -logfile "$two_monitor_dir/log" 3>"$two_monitor_dir/display" >/dev/null 2>&1 &
  two_monitor_pid=$!
  local i=0
  while [ ! -s "$two_monitor_dir/display" ] && kill -0 "$two_monitor_pid" 2>/dev/null && [ $i -lt 200 ]; do
    sleep 0.1
    i=$((i + 1))
  done
  [ -s "$two_monitor_dir/display" ] || { echo "Xorg (dummy) did not start" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$two_monitor_dir/display" | tr -d '[:space:]')"
  # 800x600 at 60 Hz, the VESA timing.
  xrandr --newmode g800x600 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync &&
    xrandr --addmode DUMMY0 g800x600 && xrandr --addmode DUMMY1 g800x600 &&
    xrandr --output DUMMY0 --mode g800x600 --pos 0x0 --primary \
      --output DUMMY1 --mode g800x600 --right-of DUMMY0 &&
    [ "$(xrandr --listmonitors | head -n1)" = "Monitors: 2" ] ||
    { echo "$DISPLAY shows no two monitors" >&2; return 1; }
}

stop_two_monitor_xorg() {
  [ -z "$two_monitor_pid" ] || { kill "$two_monitor_pid"; wait "$two_monitor_pid"; } 2>/dev/null
  [ -z "$two_monitor_dir" ] || rm -rf "$two_monitor_dir"
  two_monitor_pid=""
  two_monitor_dir=""
}
