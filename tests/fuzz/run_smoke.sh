#!/bin/sh
# Runs every libFuzzer target of a fuzz build for a short time on a copy of
# its seed corpus; fails on any finding (crash, sanitizer report, leak,
# timeout, out of memory).
# usage: tests/fuzz/run_smoke.sh FUZZ_BUILD_DIR [SECONDS]
set -u
build=${1:?usage: run_smoke.sh FUZZ_BUILD_DIR [SECONDS]}
seconds=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
found=0
for target in "$build"/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    found=1
    name=$(basename "$target")
    mkdir -p "$work/$name/corpus" "$work/$name/artifacts"
    if [ -d "$here/corpus/$name" ]; then cp "$here/corpus/$name"/* "$work/$name/corpus/" 2>/dev/null; fi
    echo "== $name: ${seconds} s"
    if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -artifact_prefix="$work/$name/artifacts/" "$work/$name/corpus" >"$work/$name/log" 2>&1; then
        tail -n 1 "$work/$name/log"
    else
        echo "FAIL $name: finding (last lines of its log follow)"
        tail -n 40 "$work/$name/log"
        for a in "$work/$name/artifacts"/*; do [ -e "$a" ] && echo "input: $(od -An -tx1 "$a" | head -c 600)"; done
        status=1
    fi
done
if [ "$found" = 0 ]; then
    echo "no fuzz targets under $build/fuzz (configure with CC=clang CXX=clang++ -DGARDENLUME_FUZZ=ON)"
    exit 2
fi
exit $status
