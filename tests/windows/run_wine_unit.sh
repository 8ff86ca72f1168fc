#!/bin/bash
# The cross-built unit tests under Wine on the X server in DISPLAY (the GL
# ones use Wine's opengl32, Mesa underneath):
#   run_wine_unit.sh WINDOWS_BUILD [gtest flags]
set -u
here=$(cd "$(dirname "$0")" && pwd)
win=$(cd "$1" && pwd)
shift
. "$here/wine_env.sh"
wine_prefix_ready || exit 1
trap 'wine_prefix_done' EXIT
# The trailing arguments are there for the command-line test to find.
(cd "$win/tests" && wine ./test_windows.exe "$@" -- "after the program" /s) 2>&1 | tr -d '\r'
exit "${PIPESTATUS[0]}"
