#!/bin/bash
# Run by run_package_e2e.sh with the package installed: xsecurelock locks
# DISPLAY as an unprivileged user whose .xscreensaver lists only the garden;
# its saver_xscreensaver starts the hack from that list in a window of its
# own (one a monitor, through saver_multiplex). The garden fills the screen
# (judged on a screenshot); ended as xsecurelock's own tests end it, with
# SIGTERM, the hack is gone within a second and nothing in the log speaks
# of an X error. Needs root (to become the user).
#
#   xsecurelock_session.sh WORK SHOT.png
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh"
work=$1
shot=$2
user_id=65534  # nobody
command -v xsecurelock >/dev/null || fail "xsecurelock is not installed"

home="$work/xsecurelock-home"
mkdir -p "$home"
cat >"$home/.xscreensaver" <<'CONF'
mode:		one
selected:	0
programs:	GL: gardenlume --root \n
CONF
chown -R $user_id:$user_id "$home"

# xsecurelock starts each saver in a process group of its own: a lock that
# failed is ended with everything below it, found by parent.
lock_pid=""
any_alive() { for p in "$@"; do kill -0 "$p" 2>/dev/null && return 0; done; return 1; }
tree() { echo "$1"; for child in $(pgrep -P "$1"); do tree "$child"; done; }
stop_lock() {
  [ -n "$lock_pid" ] || return 0
  local pids
  pids=$(tree "$lock_pid")
  kill $pids 2>/dev/null
  for _ in $(seq 20); do any_alive $pids || break; sleep 0.1; done
  kill -9 $pids 2>/dev/null
}
trap stop_lock EXIT

# The hack is xsecurelock's: started below it, one a monitor (one here).
hack_pid() { for p in $(tree "$lock_pid"); do [ "$(ps -o comm= -p "$p")" = gardenlume ] && echo "$p"; done; }
hack_started() { [ -n "$(hack_pid)" ]; }
alive() { ps -o stat= -p "$1" 2>/dev/null | grep -qv '^Z'; }
gone() { ! alive "$1"; }

# Debian's xsecurelock looks for the hacks in /usr/lib/xscreensaver; they
# are in /usr/libexec/xscreensaver. Headless, without a compositor: no
# composite overlay window. The command after "--" runs once the screen
# is locked.
echo "== package e2e: xsecurelock on $DISPLAY"
(cd "$home" && exec setsid setpriv --reuid=$user_id --regid=$user_id --clear-groups \
  env HOME="$home" DISPLAY="$DISPLAY" XSECURELOCK_SAVER=saver_xscreensaver \
  XSECURELOCK_XSCREENSAVER_PATH=/usr/libexec/xscreensaver XSECURELOCK_NO_COMPOSITE=1 \
  xsecurelock -- touch "$home/locked" >"$work/xsecurelock.log" 2>&1) &
lock_pid=$!
wait_for 100 test -e "$home/locked" || { cat "$work/xsecurelock.log"; fail "xsecurelock did not lock"; }
wait_for 100 hack_started || { cat "$work/xsecurelock.log"; fail "xsecurelock did not start the hack"; }
hack=$(hack_pid)
[ "$(echo "$hack" | wc -l)" = 1 ] || fail "more than one hack on one monitor: $hack"
args=$(ps -o args= -p "$hack")
[ "$args" = "/usr/libexec/xscreensaver/gardenlume --root" ] || fail "the hack runs as '$args'"
sleep 4  # the scene is built and a few frames drawn
import -window root "$shot" || fail "screenshot"
judge_garden "$shot"

kill -TERM "$lock_pid" || fail "xsecurelock is gone before it was ended"
start=$(date +%s%N)
wait_for 30 gone "$hack" || fail "the hack still runs 3 s after xsecurelock was ended"
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
echo "xsecurelock: the hack ended $elapsed_ms ms after SIGTERM"
[ $elapsed_ms -le 1000 ] || fail "the hack took $elapsed_ms ms to end"
wait_for 30 gone "$lock_pid" || fail "xsecurelock still runs 3 s after SIGTERM"
sleep 0.5  # anything still to be said about the hack
if grep -E -i "X Error|X11 error|BadDrawable|BadWindow|BadMatch|Xlib:|failed with status|No saver selected" \
  "$work/xsecurelock.log"; then
  fail "xsecurelock's log holds an error"
fi
lock_pid=""
