# Sourced by the two-monitor tests: start_two_monitor_xorg starts a private
# Xorg with the dummy driver on a free display (as root) and gives it two
# 800x600 monitors side by side through RandR, DUMMY0 the primary at 0,0 and
# DUMMY1 at 800,0, then exports DISPLAY for it; stop_two_monitor_xorg ends
# it. Xvfb cannot stand in: its screens all lie at 0,0.
two_monitor_pid=""
two_monitor_dir=""

start_two_monitor_xorg() {
  two_monitor_dir=$(mktemp -d)
  cat >"$two_monitor_dir/xorg.conf" <<'EOF'
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 1600 600
  EndSubSection
EndSection
EOF
  Xorg -displayfd 3 -config "$two_monitor_dir/xorg.conf" -noreset -nolisten tcp \
    -logfile "$two_monitor_dir/xorg.log" 3>"$two_monitor_dir/display" >"$two_monitor_dir/out" 2>&1 &
  two_monitor_pid=$!
  local waited=0
  while [ ! -s "$two_monitor_dir/display" ]; do
    if ! kill -0 "$two_monitor_pid" 2>/dev/null || [ $waited -ge 200 ]; then
      echo "Xorg (dummy) did not start:" >&2
      tail -n 20 "$two_monitor_dir/xorg.log" "$two_monitor_dir/out" >&2
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=":$(head -n1 "$two_monitor_dir/display" | tr -d '[:space:]')"
  # 800x600 at 60 Hz (the VESA timing).
  xrandr --newmode g800x600 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync &&
    xrandr --addmode DUMMY0 g800x600 && xrandr --addmode DUMMY1 g800x600 &&
    xrandr --output DUMMY0 --mode g800x600 --pos 0x0 --primary \
      --output DUMMY1 --mode g800x600 --right-of DUMMY0 || {
    echo "xrandr could not place the two monitors on $DISPLAY" >&2
    return 1
  }
  [ "$(xrandr --listmonitors | head -n1)" = "Monitors: 2" ] || {
    echo "$DISPLAY does not show two monitors:" >&2
    xrandr --listmonitors >&2
    return 1
  }
}

stop_two_monitor_xorg() {
  if [ -n "$two_monitor_pid" ]; then
    kill "$two_monitor_pid" 2>/dev/null || true
    wait "$two_monitor_pid" 2>/dev/null || true
    two_monitor_pid=""
  fi
  if [ -n "$two_monitor_dir" ]; then
    rm -rf "$two_monitor_dir"
    two_monitor_dir=""
  fi
}
