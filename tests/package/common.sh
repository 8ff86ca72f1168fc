# What the package stages share: failing with a line, bounded waits, and
# the judge of a screenshot of the garden. Sourced.

fail() { echo "package e2e: FAIL: $*" >&2; exit 1; }

# Mean of one channel (0..1) over a region of the screenshot.
mean() { convert "$shot" -crop "$2" +repage -format "%[fx:mean.$1]" info:; }
# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1; shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  return 1
}
# The garden fills the screen in the picture $1: sky along the top, meadow
# along the bottom, the green garden in the middle, no black corner.
judge_garden() {
  local shot=$1
  read -r w h < <(identify -format "%w %h" "$shot")
  band=$((h / 16))
  top_b=$(mean b "${w}x${band}+0+0"); top_r=$(mean r "${w}x${band}+0+0")
  low_g=$(mean g "${w}x${band}+0+$((h - band))"); low_b=$(mean b "${w}x${band}+0+$((h - band))")
  mid_g=$(mean g "120x120+$((w / 2 - 60))+$((h / 2 - 60))"); mid_r=$(mean r "120x120+$((w / 2 - 60))+$((h / 2 - 60))")
  echo "top r/b $top_r/$top_b, bottom g/b $low_g/$low_b, middle g/r $mid_g/$mid_r"
  awk -v a="$top_b" -v b="$top_r" 'BEGIN { exit !(a > b + 0.1) }' || fail "no sky at the top ($shot)"
  awk -v a="$low_g" -v b="$low_b" 'BEGIN { exit !(a > b + 0.1) }' || fail "no meadow at the bottom ($shot)"
  awk -v a="$mid_g" -v b="$mid_r" 'BEGIN { exit !(a > b) }' || fail "no garden in the middle ($shot)"
  for corner in "0+0" "$((w - 8))+0" "0+$((h - 8))" "$((w - 8))+$((h - 8))"; do
    bright=$(convert "$shot" -crop "8x8+${corner/+/+}" +repage -colorspace gray -format "%[fx:mean]" info:)
    awk -v v="$bright" 'BEGIN { exit !(v > 0.05) }' || fail "black corner at $corner ($shot)"
  done
}
