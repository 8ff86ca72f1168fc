#!/bin/bash
# Builds and runs the whole test suite on one private Xvfb:
#  1. the normal build, warnings as errors, every test under ctest;
#  2. an AddressSanitizer + UndefinedBehaviorSanitizer build, whose unit
#     tests (all but the end-to-end ones) run under ctest;
#  3. the fuzz smoke run, when the fuzz targets are there;
#  4. the Debian package under the real XScreenSaver daemon (as root only:
#     it installs the package and runs the daemon as nobody).
#  5. the Windows build (tools/build-windows.sh) and its tests under Wine:
#     the cross-built unit tests and the end-to-end script. Left out only
#     when GARDENLUME_SKIP_WINDOWS=1.
# As root, steps 1 and 5 also run the full screen on two monitors and on a
# 1920x1080 one, on a
# private Xorg with the dummy driver; step 1 also runs the garden and
# gardenlume-idle on headless sway with two outputs.
# Exits non-zero on any failure and ends with the ctest summaries.
#
#   tools/test.sh        build dirs: ./build, ./build-sanitize, ./build-fuzz,
#                        ./build-windows
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${GARDENLUME_BUILD_DIR:-$root/build}
sanitize_build=${GARDENLUME_SANITIZE_BUILD_DIR:-$root/build-sanitize}
fuzz_build=${GARDENLUME_FUZZ_BUILD_DIR:-$root/build-fuzz}
windows_build=${GARDENLUME_WINDOWS_BUILD_DIR:-$root/build-windows}
jobs=$(nproc)

"$root/tools/install_packages.sh" test || exit 1

. "$root/tools/xvfb.sh"
logs=$(mktemp -d)
trap 'stop_xvfb; rm -rf "$logs"' EXIT
start_xvfb || exit 1
echo "Test X server: $DISPLAY"

failed=()
summaries=()
fuzz_summary=()
windows_summary=()

# Runs ctest with the given arguments, keeping its summary lines.
run_ctest() {
  local name=$1
  shift
  local status=0
  ctest "$@" --output-on-failure -j"$jobs" 2>&1 | tee "$logs/$name.log" || status=$?
  summaries+=("== $name:")
  summaries+=("$(grep -E 'tests passed|tests failed|Total Test time|The following tests FAILED|^[[:space:]]+[0-9]+ - ' "$logs/$name.log")")
  if [ $status -ne 0 ]; then failed+=("$name tests"); fi
}

build_tree() {
  local name=$1 dir=$2
  shift 2
  echo "== Building $name in $dir"
  if ! cmake -S "$root" -B "$dir" -G Ninja "$@" || ! cmake --build "$dir" -j"$jobs"; then
    failed+=("$name build")
    return 1
  fi
}

# 1. Normal build, warnings as errors.
two_monitor_summary=()
# The tests and benchmarks are asked for by name: tools/run.sh leaves them
# out of a build folder it makes.
if build_tree "normal" "$build" -DGARDENLUME_WERROR=ON -DGARDENLUME_TESTS=ON -DGARDENLUME_BENCH=ON; then
  run_ctest "normal" --test-dir "$build"
  # The covers of the other monitors: Xvfb has but one.
  if [ "$(id -u)" -ne 0 ]; then
    two_monitor_summary+=("== monitors: skipped (the dummy Xorg needs root)")
  elif timeout 600 bash "$root/tests/app/run_monitor_e2e.sh" "$build" 2>&1 | tee "$logs/two-monitors.txt"; then
    two_monitor_summary+=("== monitors: $(grep -E '^\[  PASSED  \]|^PASS' "$logs/two-monitors.txt" | tr '\n' ' ')")
  else
    two_monitor_summary+=("== monitors: FAILED")
    failed+=("monitor tests")
  fi
  # The garden on a Wayland desktop: headless sway, run as a user of its own.
  if [ "$(id -u)" -ne 0 ]; then
    two_monitor_summary+=("== sway: skipped (sway runs as a user of its own, made as root)")
  elif timeout 300 bash "$root/tests/wayland/run_sway_e2e.sh" "$build" 2>&1 | tee "$logs/sway.txt"; then
    two_monitor_summary+=("== $(grep -E '^sway: ' "$logs/sway.txt")")
  else
    two_monitor_summary+=("== sway: FAILED")
    failed+=("sway tests")
  fi
fi

# 2. Sanitizers; the end-to-end tests drive the normal build's programs and
# are left to step 1.
if build_tree "sanitize" "$sanitize_build" -DGARDENLUME_WERROR=ON -DGARDENLUME_SANITIZE=ON \
  -DGARDENLUME_BENCH=OFF; then
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1} \
  UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
  LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/support/lsan.supp} \
    run_ctest "sanitize" --test-dir "$sanitize_build" -LE e2e
fi

# 3. ---- Fuzz smoke hook ----
# The fuzz targets (clang, libFuzzer) are built with -DGARDENLUME_FUZZ=ON;
# tests/fuzz/run_smoke.sh runs each briefly on its seeds.
if [ -f "$root/tests/fuzz/run_smoke.sh" ]; then
  if CC=clang CXX=clang++ build_tree "fuzz" "$fuzz_build" -DGARDENLUME_FUZZ=ON -DGARDENLUME_BENCH=OFF; then
    echo "== Fuzz smoke run"
    if bash "$root/tests/fuzz/run_smoke.sh" "$fuzz_build" 2>&1 | tee "$logs/fuzz.log"; then
      fuzz_summary+=("== fuzz: smoke run passed")
    else
      fuzz_summary+=("== fuzz: smoke run FAILED")
      failed+=("fuzz smoke run")
    fi
  fi
fi
# ---- end of fuzz smoke hook ----

# 4. The package: built from the normal build, installed, shown by the daemon.
package_summary=()
if [ -x "$build/bin/gardenlume.scr" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    package_summary+=("== package: skipped (installing the package needs root)")
  elif timeout 300 bash "$root/tests/package/run_package_e2e.sh" "$build" 2>&1 | tee "$logs/package.txt"; then
    package_summary+=("== package: installed and shown by the XScreenSaver daemon")
  else
    package_summary+=("== package: FAILED")
    failed+=("package e2e")
  fi
fi

# 5. Windows: cross-built, tested under Wine on the same X server.
if [ "${GARDENLUME_SKIP_WINDOWS:-0}" = 1 ]; then
  windows_summary+=("== windows: skipped (GARDENLUME_SKIP_WINDOWS=1)")
else
  echo "== Windows build in $windows_build"
  windows_start=$(date +%s)
  # The normal build's artgen, pak and config.exe serve as this machine's tools.
  if GARDENLUME_WINDOWS_BUILD_DIR=$windows_build GARDENLUME_HOST_TOOLS=$build/bin \
    "$root/tools/build-windows.sh" 2>&1 | tee "$logs/windows-build.txt"; then
    GARDENLUME_WINEPREFIX=$logs/wineprefix
    export GARDENLUME_WINEPREFIX
    if bash "$root/tests/windows/run_wine_unit.sh" "$windows_build" 2>&1 | tee "$logs/windows-unit.txt"; then
      windows_summary+=("== windows unit: $(grep -E '^\[  PASSED  \]' "$logs/windows-unit.txt")")
    else
      windows_summary+=("== windows unit: FAILED")
      windows_summary+=("$(grep -E '^\[  FAILED  \]' "$logs/windows-unit.txt")")
      failed+=("windows unit tests")
    fi
    bash "$root/tests/windows/run_wine_e2e.sh" "$windows_build" "$build/bin" 2>&1 | tee "$logs/windows-e2e.txt"
    [ "${PIPESTATUS[0]}" -eq 0 ] || failed+=("windows end-to-end tests")
    windows_summary+=("== $(grep -E '^windows: ' "$logs/windows-e2e.txt" || echo 'windows: end-to-end script did not finish')")
    WINEPREFIX=$GARDENLUME_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
    unset GARDENLUME_WINEPREFIX
  else
    failed+=("windows build")
  fi
  windows_summary+=("== windows stage: $(( $(date +%s) - windows_start )) s")
fi

echo
echo "==================== Summary ===================="
if [ ${#failed[@]} -ne 0 ]; then
  echo "FAILED: ${failed[*]}"
fi
for line in "${two_monitor_summary[@]}" "${fuzz_summary[@]}" "${package_summary[@]}" "${windows_summary[@]}" \
  "${summaries[@]}"; do echo "$line"; done
# One closing line over every ctest run: passed, failed, skipped.
cat "$logs"/*.log 2>/dev/null | awk '
  /tests passed, [0-9]+ tests failed out of/ { failed += $4; total += $NF }
  /\(Skipped\)$/ { skipped++ }
  END { printf "tests: %d passed, %d failed, %d skipped\n", total - failed - skipped, failed, skipped }'
[ ${#failed[@]} -eq 0 ]
