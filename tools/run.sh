#!/bin/bash
# Builds everything (the saver, its tools and gardenlume-idle) and starts
# the saver from the build's installation folder (<build>/bin), whose
# settings, when it has none yet, are made the desktop screen mode (every
# monitor at its own size). On a desktop, X11 or Wayland, it fills the
# screen until Escape. With no DISPLAY it runs a few seconds on a
# private Xvfb, saves a screenshot as PNG, ends the saver with Escape and
# prints where the picture is.
#
#   tools/run.sh                      build dir: ./build (no tests in a new one)
#   GARDENLUME_BUILD_DIR=... GARDENLUME_RUN_SECONDS=8 tools/run.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${GARDENLUME_BUILD_DIR:-$root/build}
seconds=${GARDENLUME_RUN_SECONDS:-5}

"$root/tools/install_packages.sh" run
# A new build folder gets neither tests nor benchmarks: their libraries are
# not in the run set. A folder already configured keeps its settings.
switches=()
if [ ! -f "$build/CMakeCache.txt" ]; then
  switches=(-DGARDENLUME_TESTS=OFF -DGARDENLUME_BENCH=OFF)
fi
cmake -S "$root" -B "$build" -G Ninja "${switches[@]}"
cmake --build "$build" -j"$(nproc)"
[ -x "$build/bin/gardenlume-idle" ] ||
  echo "run.sh: gardenlume-idle was not built (its Wayland and GLib packages are missing)" >&2

saver="$build/bin/gardenlume.scr"
# A new installation folder shows the desktop at its own size; settings
# already there stay as they are, byte for byte.
if "$build/bin/config.exe" | grep -qx 'source: defaults (no file)'; then
  "$build/bin/config.exe" --mode desktop >/dev/null || echo "run.sh: no settings written; the saver uses its defaults" >&2
fi
if [ -n "${DISPLAY:-}" ]; then
  exec "$saver" /s
fi

. "$root/tools/xvfb.sh"
trap stop_xvfb EXIT
start_xvfb
echo "No DISPLAY: running the saver on a private Xvfb ($DISPLAY) for $seconds seconds"

"$saver" /s &
saver_pid=$!
sleep "$seconds"
if ! kill -0 "$saver_pid" 2>/dev/null; then
  status=0
  wait "$saver_pid" || status=$?
  echo "run.sh: the saver ended early with exit code $status" >&2
  exit 1
fi

shot="$build/gardenlume-screenshot.png"
import -window root "$shot"
xdotool key Escape
status=0
wait "$saver_pid" || status=$?
if [ $status -ne 0 ]; then
  echo "run.sh: the saver ended with exit code $status" >&2
  exit 1
fi
echo "Screenshot: $shot"
