#!/bin/bash
# The Debian package under the real XScreenSaver daemon, as a user meets it:
# builds the package in BUILD, holds it to lintian (no error, no warning),
# installs it with apt-get, gives an unprivileged user (the daemon refuses
# root) a .xscreensaver as the settings program writes it, with the daemon's
# default list, and has gardenlume-xscreensaver --select put the garden in
# it and show it alone; starts the daemon as that user on DISPLAY, activates
# it and judges a screenshot, then deactivates it and checks that the hack
# is gone within a second and that the daemon's log holds no X error. Then
# the same under the MATE screen saver and under xsecurelock. Removes the
# package again if it was not installed before. Needs root; every wait is
# bounded.
#
#   tests/package/run_package_e2e.sh BUILD [SHOT.png]
set -uo pipefail

build=$(cd "${1:?usage: run_package_e2e.sh BUILD [SHOT.png]}" && pwd)
shot=${2:-$build/package_e2e_shot.png}
user_id=65534  # nobody
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh"
work=$(mktemp -d)
chmod 755 "$work"  # the daemon's user reads its HOME below it
daemon_pid=""
installed_here=0


cleanup() {
  # The daemon, its helpers and the hack share the daemon's process group.
  if [ -n "$daemon_pid" ]; then
    kill -- -"$daemon_pid" 2>/dev/null
    for _ in $(seq 20); do kill -0 -- -"$daemon_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 -- -"$daemon_pid" 2>/dev/null
  fi
  if [ $installed_here = 1 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -q gardenlume >/dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanup EXIT

[ "$(id -u)" = 0 ] || fail "needs root to install the package"
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY"
command -v xscreensaver >/dev/null || fail "xscreensaver is not installed"

# A hack that has ended but is not yet reaped (a zombie: the daemon's helper
# that started it exits at the same time) has ended.
hack_running() { ps -u "$user_id" -o stat=,comm= | awk '$1 !~ /^Z/ && $2 == "gardenlume" { found = 1 } END { exit !found }'; }
hack_gone() { ! hack_running; }
daemon_gone() { ! kill -0 "$daemon_pid" 2>/dev/null; }
as_user() { (cd "$work/home" && setpriv --reuid=$user_id --regid=$user_id --clear-groups env HOME="$work/home" DISPLAY="$DISPLAY" "$@"); }

echo "== package e2e: building the package"
(cd "$build" && rm -f gardenlume_*.deb && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$build"/gardenlume_*.deb)
# What a distribution checks first: no error, no warning.
echo "== package e2e: lintian"
lintian --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1
lint=$?
grep -v 'running with root privileges' "$work/lintian.txt"
[ $lint -eq 0 ] || fail "lintian finds errors or warnings in $deb"
dpkg-query -W -f='${Status}' gardenlume 2>/dev/null | grep -q "install ok installed" || installed_here=1
# A new install's settings, an upgrade and a purge; then installed anew.
bash "$here/settings_lifecycle.sh" "$work" "$deb" || fail "the package's settings"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get install $deb"; }
[ -x /usr/libexec/xscreensaver/gardenlume ] || fail "no hack in /usr/libexec/xscreensaver"
grep -q '<screensaver name="gardenlume"' /usr/share/xscreensaver/config/gardenlume.xml || fail "no config XML"
pak verify /usr/lib/gardenlume >/dev/null || fail "pak verify of the installed folder"

# The user's list as xscreensaver-settings writes it, in random mode: the
# daemon's own defaults (the programs of its app-defaults file, where the
# garden is not), laid out as the settings program lays them out; at once
# when asked, no lock, no fades.
mkdir -p "$work/home"
{
  printf '# XScreenSaver Preferences File\n\n'
  printf 'timeout:\t1:00:00\ncycle:\t\t0:00:00\nlock:\t\tFalse\nfade:\t\tFalse\nunfade:\t\tFalse\n'
  # A value ending in an escaped backslash: the daemon joins the next line
  # (mode:) to it, so --select must add a mode: line of its own.
  printf 'splash:\t\tFalse\n\ntextLiteral:\tC:\\\\\nmode:\t\trandom\nselected:\t-1\n\n'
  # Each entry ends in "\n\" there, and a blank line ends the list.
  awk '/^\*programs:/ { sub(/^\*/, ""); p = 1 } p && /\\$/ { print; next } p { print $0 "\\"; print ""; exit }' \
    /etc/X11/app-defaults/XScreenSaver
  printf '\npointerHysteresis:  10\n'
} >"$work/home/.xscreensaver"
grep -q 'maze --root' "$work/home/.xscreensaver" || fail "no programs in the XScreenSaver app-defaults"
chown -R $user_id:$user_id "$work/home"

# One command puts the garden into that list and shows it alone; every
# other line stays, and a second run changes nothing. The first runs as
# root with the user's HOME (su without "-"): the file must stay the
# user's, or the daemon cannot read it and falls back to lock off.
echo "== package e2e: gardenlume-xscreensaver --select"
[ -x /usr/bin/gardenlume-xscreensaver ] || fail "no /usr/bin/gardenlume-xscreensaver"
[ -f /usr/share/man/man1/gardenlume-xscreensaver.1.gz ] || fail "no gardenlume-xscreensaver(1)"
chmod 640 "$work/home/.xscreensaver"
cp "$work/home/.xscreensaver" "$work/list.before"
HOME="$work/home" gardenlume-xscreensaver --select || fail "gardenlume-xscreensaver --select as root: exit $?"
owned() { [ "$(stat -c %u:%g:%a "$1")" = "$user_id:$user_id:$2" ] || fail "$1 is $(stat -c %U:%G:%a "$1")"; }
owned "$work/home/.xscreensaver" 640
diff "$work/list.before" "$work/home/.xscreensaver" >"$work/list.diff"
grep -q '^>.*GL: .*gardenlume --root.*\\n\\$' "$work/list.diff" || { cat "$work/list.diff"; fail "no garden line"; }
# The old mode: line is the daemon's textLiteral now: a mode: line is added.
[ "$(grep -c '^<' "$work/list.diff")" = 1 ] && [ "$(grep -c '^>' "$work/list.diff")" = 3 ] &&
  grep -q '^> mode:.*one$' "$work/list.diff" && grep -q '^> selected:.[0-9]*$' "$work/list.diff" ||
  { cat "$work/list.diff"; fail "more changed than the garden's line, mode: and selected:"; }
cp "$work/home/.xscreensaver" "$work/list.first"
inode=$(stat -c %i "$work/home/.xscreensaver")
as_user gardenlume-xscreensaver --select | grep -q 'nothing changed' || fail "the second run did not say so"
cmp "$work/list.first" "$work/home/.xscreensaver" || fail "the second run changed the list"
[ "$(stat -c %i "$work/home/.xscreensaver")" = "$inode" ] || fail "the second run replaced the file"

echo "== package e2e: the daemon as nobody on $DISPLAY"
# In a process group of its own (setsid execs in place), so that the
# cleanup can end it with everything it started.
start_daemon() {
  (cd "$work/home" && exec setsid setpriv --reuid=$user_id --regid=$user_id --clear-groups \
    env HOME="$work/home" DISPLAY="$DISPLAY" xscreensaver --no-splash --verbose >"$work/daemon.log" 2>&1) &
  daemon_pid=$!
  wait_for 100 as_user xscreensaver-command -time >/dev/null 2>&1 || { cat "$work/daemon.log"; fail "the daemon did not start"; }
}
start_daemon

as_user xscreensaver-command -activate >/dev/null || fail "xscreensaver-command -activate"
wait_for 100 hack_running || { cat "$work/daemon.log"; fail "the daemon did not start the hack"; }
sleep 4  # the scene is built and a few frames drawn
import -window root "$shot" || fail "screenshot"

judge_garden "$shot"

echo "== package e2e: deactivating"
as_user xscreensaver-command -deactivate >/dev/null || fail "xscreensaver-command -deactivate"
start=$(date +%s%N)
wait_for 30 hack_gone || fail "the hack still runs 3 s after deactivation"
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
echo "the hack ended $elapsed_ms ms after deactivation"
[ $elapsed_ms -le 1000 ] || { tail -20 "$work/daemon.log"; fail "the hack took $elapsed_ms ms to end"; }
sleep 0.5  # anything the daemon still had to say about the hack
if grep -E "X Error|BadDrawable|BadWindow|BadMatch|Xlib:|gardenlume.*(crashed|status [1-9]|dumped)" "$work/daemon.log"; then
  fail "the daemon's log holds an error about the hack"
fi
grep -q 'forked "gardenlume --root"' "$work/daemon.log" || fail "the daemon ran another hack"
as_user xscreensaver-command -exit >/dev/null 2>&1
wait_for 50 daemon_gone || fail "the daemon did not exit"

# Undo: --remove takes the garden out again, here through a dotfile
# manager's link (the file it points to is edited, the link kept), run as
# root with the user's HOME; the mode the garden was shown in goes back to
# random and nothing else changes. A second run changes nothing, and the
# daemon then runs another hack.
check_remove() {
  echo "== package e2e: gardenlume-xscreensaver --remove through a dotfile link"
  local real="$work/home/dotfiles/xscreensaver"
  mkdir -p "$work/home/dotfiles"
  mv "$work/home/.xscreensaver" "$real"
  ln -s dotfiles/xscreensaver "$work/home/.xscreensaver"
  chown -h -R $user_id:$user_id "$work/home"
  HOME="$work/home" gardenlume-xscreensaver --remove || fail "gardenlume-xscreensaver --remove as root: exit $?"
  [ "$(readlink "$work/home/.xscreensaver")" = dotfiles/xscreensaver ] || fail "--remove did not keep the link"
  owned "$real" 640
  diff "$work/list.first" "$real" >"$work/remove.diff"
  [ "$(grep -c '^<' "$work/remove.diff")" = 2 ] && [ "$(grep -c '^>' "$work/remove.diff")" = 1 ] &&
    grep -q '^<.*gardenlume --root' "$work/remove.diff" && grep -q '^> mode:[[:space:]]*random$' "$work/remove.diff" ||
    { cat "$work/remove.diff"; fail "--remove changed more than the garden's line and the mode"; }
  cp "$real" "$work/list.removed"
  local inode
  inode=$(stat -c %i "$real")
  as_user gardenlume-xscreensaver --remove | grep -q 'nothing changed' || fail "the second --remove did not say so"
  cmp "$work/list.removed" "$real" && [ "$(stat -c %i "$real")" = "$inode" ] || fail "the second --remove changed the file"
  start_daemon
  as_user xscreensaver-command -activate >/dev/null || fail "xscreensaver-command -activate"
  other_hack() { grep 'forked "' "$work/daemon.log" | grep -qv gardenlume; }
  wait_for 100 other_hack || { cat "$work/daemon.log"; fail "the daemon ran no other hack after --remove"; }
  if hack_running || grep -q 'forked "gardenlume' "$work/daemon.log"; then fail "the daemon still runs the garden"; fi
  as_user xscreensaver-command -exit >/dev/null 2>&1
  wait_for 50 daemon_gone || fail "the daemon did not exit"
}
check_remove

# A fresh account: no ~/.xscreensaver. One command, run as root with the
# user's HOME, writes the system's list with the garden, the user's and
# 0600, and the daemon then runs the garden.
echo "== package e2e: gardenlume-xscreensaver --select on a fresh account"
rm "$work/home/.xscreensaver"
HOME="$work/home" gardenlume-xscreensaver --select || fail "gardenlume-xscreensaver --select on no file: exit $?"
owned "$work/home/.xscreensaver" 600
[ "$(grep -c -- '--root' "$work/home/.xscreensaver")" = $(($(grep -c -- '--root' /etc/X11/app-defaults/XScreenSaver) + 1)) ] ||
  fail "the new file does not hold the system's whole list"
start_daemon
as_user xscreensaver-command -activate >/dev/null || fail "xscreensaver-command -activate"
wait_for 100 hack_running || { cat "$work/daemon.log"; fail "the daemon did not start the garden from a new file"; }
grep -q 'forked "gardenlume --root"' "$work/daemon.log" || fail "the daemon ran another hack from the new file"
# The settings program opens it without a word about the file and leaves it
# as it is (it writes only when a setting changes).
cp "$work/home/.xscreensaver" "$work/list.new"
(cd "$work/home" && exec setsid setpriv --reuid=$user_id --regid=$user_id --clear-groups \
  env HOME="$work/home" DISPLAY="$DISPLAY" xscreensaver-settings >"$work/settings.log" 2>&1) &
settings_pid=$!
sleep 5
kill -0 "$settings_pid" 2>/dev/null || { cat "$work/settings.log"; fail "xscreensaver-settings ended on the new file"; }
kill -- -"$settings_pid" 2>/dev/null
wait "$settings_pid" 2>/dev/null
if grep -iE "unparsable|xscreensaver\b.*(error|warning)|\.xscreensaver" "$work/settings.log"; then
  fail "xscreensaver-settings complains about the new file"
fi
cmp "$work/list.new" "$work/home/.xscreensaver" || fail "xscreensaver-settings changed the new file"
as_user xscreensaver-command -exit >/dev/null 2>&1
wait_for 50 daemon_gone || fail "the daemon did not exit"

# The MATE screen saver runs the theme of our desktop file, in a D-Bus
# session of its own whose dconf service keeps its settings in $work.
theme=/usr/share/applications/screensavers/gardenlume.desktop
[ -f "$theme" ] || fail "no $theme"
desktop-file-validate "$theme" || fail "desktop-file-validate $theme"
echo "== package e2e: the MATE screen saver on $DISPLAY"
mkdir -p "$work/mate-config"
XDG_CONFIG_HOME="$work/mate-config" XDG_CURRENT_DESKTOP=MATE \
  timeout 120 dbus-run-session -- bash "$here/mate_session.sh" "$work" "${shot%.png}_mate.png" ||
  fail "the MATE screen saver run"
# xsecurelock runs the hacks of the user's XScreenSaver list.
bash "$here/xsecurelock_session.sh" "$work" "${shot%.png}_xsecurelock.png" || fail "the xsecurelock run"
echo "== package e2e: passed"
