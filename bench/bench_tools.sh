# Sourced by the bench scripts: finds the two helpers they measure with.
# By default both come from this repository: `floor` built with the
# benchmarks (<build>/bench/floor) and bench/measure_gl.sh. A folder given
# with -T, or in GARDENLUME_SHARED_TOOLS, holding floor.c and glfps.sh is
# used instead (floor.c is compiled into the scripts' scratch folder).
#
#   bench_tools NAME BUILD TOOLS SCRATCH   sets $floor and $measure, or says
#                                          what is missing and returns 1
bench_tools() {
    local name=$1 build=$2 tools=$3 scratch=$4
    if [ -z "$tools" ]; then
        floor=$build/bench/floor
        measure=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/measure_gl.sh
        [ -x "$floor" ] || {
            echo "$name: $floor is missing (build with -DGARDENLUME_BENCH=ON: cmake --build $build --target floor)" >&2
            return 1
        }
        return 0
    fi
    measure=$tools/glfps.sh
    floor=$scratch/floor
    local f
    for f in "$tools/floor.c" "$measure"; do
        [ -e "$f" ] || { echo "$name: $f is missing" >&2; return 1; }
    done
    # shellcheck disable=SC2046
    cc -O2 "$tools/floor.c" $(sdl-config --cflags --libs) -lGLU -lGL -lm -o "$floor" ||
        { echo "$name: $tools/floor.c does not build" >&2; return 1; }
}
