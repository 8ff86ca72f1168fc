#!/bin/bash
# Run by run_package_e2e.sh inside a D-Bus session of its own: the MATE
# screen saver with the garden as its one theme, as a user picks it in its
# settings. Activated, the garden fills the screen (judged on a screenshot);
# deactivated, the hack ends within a second.
#
#   mate_session.sh WORK SHOT.png
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh"
work=$1
shot=$2
command -v mate-screensaver >/dev/null || fail "mate-screensaver is not installed"

gsettings set org.mate.screensaver mode single &&
  gsettings set org.mate.screensaver themes "['screensavers-gardenlume']" &&
  gsettings set org.mate.screensaver lock-enabled false || fail "gsettings"

mate-screensaver --no-daemon --debug >"$work/mate.log" 2>&1 &
saver_pid=$!
trap 'kill "$saver_pid" 2>/dev/null; wait "$saver_pid" 2>/dev/null' EXIT
quiet() { "$@" >/dev/null 2>&1; }
wait_for 100 quiet mate-screensaver-command --query || { cat "$work/mate.log"; fail "mate-screensaver did not start"; }

# The hack is the screen saver's own child: no other test's saver counts.
hack_pid() { pgrep -P "$saver_pid" -x gardenlume; }
alive() { ps -o stat= -p "$1" 2>/dev/null | grep -qv '^Z'; }
gone() { ! alive "$1"; }

quiet mate-screensaver-command --activate || fail "mate-screensaver-command --activate"
wait_for 100 quiet hack_pid || { tail -20 "$work/mate.log"; fail "the MATE screen saver did not start the hack"; }
hack=$(hack_pid)
grep -q "command for job: '/usr/libexec/xscreensaver/gardenlume --root'" "$work/mate.log" ||
  fail "the theme's command is not the hack's"
sleep 4  # the scene is built and a few frames drawn
import -window root "$shot" || fail "screenshot"
judge_garden "$shot"

quiet mate-screensaver-command --deactivate || fail "mate-screensaver-command --deactivate"
start=$(date +%s%N)
wait_for 30 gone "$hack" || fail "the hack still runs 3 s after deactivation"
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
echo "MATE: the hack ended $elapsed_ms ms after deactivation"
[ $elapsed_ms -le 1000 ] || fail "the hack took $elapsed_ms ms to end"
