#!/bin/bash
# Run by run_package_e2e.sh: the package's settings from a new install to a
# purge. On a machine without settings a new install holds the desktop row,
# and the installed saver fills a private 1280x1024 Xvfb (row 5 would show
# 1024x768 in black borders). config.exe changes /etc/gardenlume/cfg
# through the installation folder's link; an upgrade keeps the change, and
# takes over a cfg that the first package's config.exe wrote into the
# folder. A purge leaves neither folder, even beside a temporary file of a
# killed config.exe. Settings the machine had are put back at the end.
# Needs root.
#
#   settings_lifecycle.sh WORK DEB
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh"
work=$1
deb=$2
folder=/usr/lib/gardenlume
etc=/etc/gardenlume
xvfb_pid=""
saver_pid=""
trap 'kill $saver_pid $xvfb_pid 2>/dev/null; wait $saver_pid $xvfb_pid 2>/dev/null' EXIT

apt() {
  DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=120 "$@" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt-get $*"; }
}
# The screen-mode byte of the settings, read past the link.
mode_is() { [ "$(od -An -tu1 -j9 -N1 "$folder/cfg" 2>/dev/null | tr -d ' ')" = "$1" ] || fail "$2: row $1 expected"; }
linked() { [ "$(readlink "$folder/cfg")" = "$etc/cfg" ] || fail "$1: $folder/cfg is no link to $etc/cfg"; }

echo "== package e2e: the settings from install to purge"
before=""
if [ -f "$etc/cfg" ] || [ -f "$folder/cfg" ]; then
  before="$work/settings.before"
  cat "$etc/cfg" 2>/dev/null >"$before" || cat "$folder/cfg" >"$before"
fi
if dpkg-query -W gardenlume >/dev/null 2>&1; then apt purge gardenlume; fi
rm -f "$etc/cfg" "$folder/cfg"

apt install "$deb"
linked "a new install"
mode_is 18 "a new install"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 100 test -s "$work/display" || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
display=":$(head -n1 "$work/display")"
DISPLAY=$display GARDENLUME_REGISTRY=/nonexistent "$folder/gardenlume.scr" /s 2>"$work/saver.log" &
saver_pid=$!
sleep 4  # the scene is built and a few frames drawn
kill -0 "$saver_pid" 2>/dev/null || { cat "$work/saver.log"; fail "the installed saver ended"; }
import -display "$display" -window root "$work/desktop.png" || fail "screenshot"
judge_garden "$work/desktop.png"
kill "$saver_pid" "$xvfb_pid"
wait "$saver_pid" "$xvfb_pid" 2>/dev/null
saver_pid=""
xvfb_pid=""

"$folder/config.exe" --mode 3 >/dev/null || fail "config.exe --mode 3"
linked "config.exe"
mode_is 3 "config.exe"
[ "$(ls -A "$etc")" = cfg ] || fail "config.exe left $(ls -A "$etc") in $etc"

# A newer version of the same package; its conffile is the same.
dpkg-deb -R "$deb" "$work/newer" && sed -i 's/^Version: .*/&+1/' "$work/newer/DEBIAN/control" &&
  dpkg-deb -Zgzip -z1 -b "$work/newer" "$work/newer.deb" >/dev/null || fail "repacking the package"
apt install "$work/newer.deb"
linked "an upgrade"
mode_is 3 "an upgrade"
rm "$folder/cfg"
"$folder/config.exe" --mode 2 >/dev/null || fail "config.exe --mode 2 without the link"
apt install --reinstall "$work/newer.deb"
linked "an upgrade over a cfg in the folder"
mode_is 2 "an upgrade over a cfg in the folder"

touch "$etc/cfg.tmp-999999999-a1B2c3"
apt purge gardenlume
[ ! -e "$etc" ] && [ ! -e "$folder" ] || fail "a purge left $(ls -d "$etc" "$folder" 2>/dev/null)"

if [ -n "$before" ]; then
  apt install "$deb"
  cp "$before" "$etc/cfg"
fi
exit 0
