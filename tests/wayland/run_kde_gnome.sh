#!/bin/bash
# By hand, as root (it installs KDE Plasma's and GNOME's compositors, too
# heavy for CI): the garden and gardenlume-idle under KWin 5.27 and Mutter 43,
# each headless with XWayland and two outputs, as the user gardenlume-e2e.
#   run_kde_gnome.sh BUILD [kde|gnome]...
# In each session (desktop_session.sh): the desktop mode's window, its
# place, state and picture; Escape and, with the mouse rule on, the pointer
# through the compositor; gardenlume-idle --after 3's cycle. Pictures and
# logs stay in $GARDENLUME_DESKTOPS_OUT (default /tmp/gardenlume-desktops).
# Closing line: "desktops: N passed, N failed".
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
shift
desktops=("$@")
[ ${#desktops[@]} -gt 0 ] || desktops=(kde gnome)
"$here/../../tools/install_packages.sh" desktops || exit 1
. "$here/wayland_bed.sh"
bed_setup "$build" || exit 1
[ -x "$work/inst/desktop_input" ] || { echo "no $build/tests/desktop_input: build the tests first"; exit 1; }
trap 'rm -rf "$work"' EXIT
out=${GARDENLUME_DESKTOPS_OUT:-/tmp/gardenlume-desktops}
rm -rf "$out"
mkdir -p "$out"
chown "$bed_user:" "$out" "$work/inst"
cp "$here/desktop_session.sh" "$here/wayland_bed.sh" "$here/../support/dummy_xorg.sh" "$work/"
chmod a+rx "$work/"*.sh
# The packaged kwin_wayland has file capabilities that an unprivileged
# container refuses to exec; a copy runs (its Qt platform loads only under
# the name kwin_wayland).
mkdir -m 755 "$work/kwin"
cp /usr/bin/kwin_wayland "$work/kwin/"

bed_env=(WORK="$work" OUT="$out")
for desktop in "${desktops[@]}"; do
  echo "== $desktop"
  rm -rf "$work/run" && mkdir -m 700 "$work/run" && chown "$bed_user:" "$work/run"
  printf '#!/bin/sh\nexec %s %s\n' "$work/desktop_session.sh" "$desktop" >"$work/session.sh"
  chmod a+rx "$work/session.sh"
  case $desktop in
  kde)
    # KWin offers its fake input only to programs it knows, unless told otherwise.
    (cd "$work" && as_user KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 dbus-run-session -- "$work/kwin/kwin_wayland" --virtual --xwayland --output-count 2 \
      --width 1280 --height 720 --socket gardenlume-kde --exit-with-session "$work/session.sh" \
      >"$out/kde-compositor.log" 2>&1)
    ;;
  gnome)
    (cd "$work" && as_user dbus-run-session -- mutter --headless --wayland --virtual-monitor 1280x720 \
      --virtual-monitor 800x600 -- "$work/session.sh" >"$out/gnome-compositor.log" 2>&1)
    ;;
  *) echo "unknown desktop $desktop"; continue ;;
  esac
  cat "$out/$desktop.txt" 2>/dev/null || echo "FAIL $desktop: the session did not run (see $out/$desktop-compositor.log)"
done
passed=$(cat "$out/"*.txt 2>/dev/null | grep -c '^PASS')
failed=$(cat "$out/"*.txt 2>/dev/null | grep -c '^FAIL')
echo "pictures and logs: $out"
echo "desktops: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
