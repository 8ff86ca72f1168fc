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
#   start_wide_and_portrait_xorg  a 1280x720 primary at 0,0 and a 720x1280
#                           monitor standing upright right of it
#   start_mirrored_xorg     a 1366x768 primary and a 1280x1024 projector,
#                           both at 0,0: mirrors, neither inside the other
#   stop_dummy_xorg         ends any of them (stop_two_monitor_xorg too)
#   judge_every_monitor     judges a picture of the desktop mode's gardens
#   judge_one_garden_across judges a picture across the edge of a mirror
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

# Modelines at 60 Hz (the VESA and CVT timings, or near them), by mode name.
declare -gA dummy_modeline=(
  [g800x600]="40.00 800 840 968 1056 600 601 605 628 +hsync +vsync"
  [g1024x768]="65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync"
  [g1280x720]="74.25 1280 1390 1430 1650 720 725 730 750 +hsync +vsync"
  [g720x1280]="69.17 720 736 768 880 1280 1283 1288 1310 +hsync +vsync"
  [g1366x768]="73.07 1366 1382 1414 1526 768 771 776 798 +hsync +vsync"
  [g1280x1024]="108.00 1280 1328 1440 1688 1024 1025 1028 1066 +hsync +vsync"
  [g1920x1080]="173.00 1920 2048 2248 2576 1080 1083 1088 1120 -hsync +vsync"
)

# A $1 x $2 screen with two monitors: DUMMY0 the primary at 0,0 in mode $3,
# DUMMY1 in mode $4, placed by the xrandr words $5; $6 names the layout
# for the message when the server does not show it.
start_two_output_xorg() {
  start_dummy_xorg "$1" "$2" || return 1
  # shellcheck disable=SC2086 # a modeline is words
  xrandr --newmode "$3" ${dummy_modeline[$3]} && { [ "$4" = "$3" ] || xrandr --newmode "$4" ${dummy_modeline[$4]}; } &&
    xrandr --addmode DUMMY0 "$3" && xrandr --addmode DUMMY1 "$4" &&
    xrandr --output DUMMY0 --mode "$3" --pos 0x0 --primary --output DUMMY1 --mode "$4" $5 &&
    [ "$(xrandr --listmonitors | head -n1)" = "Monitors: 2" ] ||
    { echo "$DISPLAY shows no $6" >&2; return 1; }
}

start_two_monitor_xorg() {
  start_two_output_xorg 1600 600 g800x600 g800x600 "--right-of DUMMY0" "two monitors"
}

start_wide_and_lower_xorg() {
  start_two_output_xorg 2080 720 g1280x720 g800x600 "--pos 1280x120" "16:9 and 4:3 monitors"
}

start_wide_and_portrait_xorg() {
  start_two_output_xorg 2000 1280 g1280x720 g720x1280 "--right-of DUMMY0" "16:9 and upright monitors"
}

start_mirrored_xorg() {
  start_two_output_xorg 1366 1024 g1366x768 g1280x1024 "--pos 0x0" "mirrored monitors"
}

start_desktop_xorg() {
  start_dummy_xorg 1920 1080 || return 1
  local mode
  for mode in g1920x1080 g1024x768 g800x600; do
    # shellcheck disable=SC2086 # a modeline is words
    xrandr --newmode "$mode" ${dummy_modeline[$mode]} && xrandr --addmode DUMMY0 "$mode" || return 1
  done
  xrandr --output DUMMY0 --mode g1920x1080 --pos 0x0 --primary &&
    [ "$(xrandr --listmonitors | head -n1)" = "Monitors: 1" ] &&
    xrandr --current | head -n1 | grep -q 'current 1920 x 1080' ||
    { echo "$DISPLAY shows no 1920x1080 monitor" >&2; return 1; }
}

stop_dummy_xorg() {
  [ -z "$dummy_xorg_pid" ] || { kill "$dummy_xorg_pid"; wait "$dummy_xorg_pid"; } 2>/dev/null
  [ -z "$dummy_xorg_dir" ] || rm -rf "$dummy_xorg_dir"
  dummy_xorg_pid=""
  dummy_xorg_dir=""
}

stop_two_monitor_xorg() { stop_dummy_xorg; }

# Judges a picture ($1) of the real packs' garden in the desktop mode on
# the monitors $2... (WxH+X+Y): each a whole garden in its own shape (sky
# along its top, meadow along its bottom, lit to its sides), monitors of one
# size showing one moment (under a clock that moves at every reading, views
# drawn at two moments differ in tens of thousands of pixels, one moment
# drawn twice in a few hundred at most), the space above a lower monitor
# black. One line per monitor; 0 when all hold.
judge_every_monitor() {
  local shot=$1 m w h x y r g b r2 g2 b2 sky meadow sides first="" fails=0 d
  shift
  mean() { convert "$shot" -crop "$1" +repage -scale '1x1!' -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:; }
  for m in "$@"; do
    IFS='x+' read -r w h x y <<<"$m"
    sky=$(mean "${w}x$((h / 12))+$x+$y") meadow=$(mean "${w}x$((h / 12))+$x+$((y + h - h / 12))")
    sides="$(mean "6x$h+$x+$y") $(mean "6x$h+$((x + w - 6))+$y")"
    echo "  monitor $m: sky $sky, meadow $meadow, sides $sides"
    read -r r g b <<<"$sky" && [ "$b" -gt $((r + 20)) ] || fails=1
    read -r r g b <<<"$meadow" && [ "$g" -gt "$r" ] && [ "$g" -gt "$b" ] || fails=1
    read -r r g b r2 g2 b2 <<<"$sides" && [ $((r + g + b)) -gt 150 ] && [ $((r2 + g2 + b2)) -gt 150 ] || fails=1
    convert "$shot" -crop "$m" +repage "$dummy_xorg_dir/$m.png"
    if [ -n "$first" ] && [ "${first%%+*}" = "${m%%+*}" ]; then
      d=$(compare -metric AE -fuzz 6% "$dummy_xorg_dir/$first.png" "$dummy_xorg_dir/$m.png" null: 2>&1)
      echo "  differs from $first in $d pixels"
      [ "$d" -lt 2000 ] 2>/dev/null || fails=1
    fi
    [ -n "$first" ] || first=$m
    if [ "$y" -gt 0 ]; then
      read -r r g b <<<"$(mean "${w}x$y+$x+0")" && [ $((r + g + b)) -lt 6 ] || { echo "  not black above it"; fails=1; }
    fi
  done
  return $fails
}

# Judges a picture ($1) of mirrors: across the column $2, where the
# narrower mirror ends, the first $3 rows show one garden going on, not the
# edge of another drawn over it (two 64-pixel strips alike, within 0.08 of
# the range: neighbouring strips of one garden differ by about 0.04, two
# gardens' by 0.15).
judge_one_garden_across() {
  local d
  convert "$1" -crop "64x$3+$(($2 - 70))+0" +repage "$dummy_xorg_dir/left.png" &&
    convert "$1" -crop "64x$3+$(($2 + 6))+0" +repage "$dummy_xorg_dir/right.png" || return 1
  d=$(compare -metric MAE "$dummy_xorg_dir/left.png" "$dummy_xorg_dir/right.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
  echo "  either side of column $2: differ by $d"
  awk -v d="$d" 'BEGIN { exit !(d < 0.08) }'
}
