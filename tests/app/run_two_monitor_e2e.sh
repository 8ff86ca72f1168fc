#!/bin/bash
# The saver's two-monitor tests (test_app_two_monitors) on a private Xorg
# with two monitors (as root: Xorg's dummy driver):
#   run_two_monitor_e2e.sh BUILD
# Exits non-zero when the server does not start or a test fails.
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
. "$here/../support/two_monitor_xorg.sh"
trap 'stop_two_monitor_xorg' EXIT
# Killed by a timeout: still stop the server.
trap 'exit 1' TERM INT
start_two_monitor_xorg || exit 1
echo "Two-monitor X server: $DISPLAY"
"$build/tests/test_app_two_monitors"
