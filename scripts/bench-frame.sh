#!/usr/bin/env bash
# Times the game's frame against the floor and the bare terrain in a private
# Xvfb server with Mesa's software renderer (llvmpipe), at 640 x 480.
#   scripts/bench-frame.sh [build folder]     (default: build)
# Builds frame_bench (with the asset pack) if needed, then runs it from the game
# folder so it finds data/. Extra benchmark flags go in BENCH_FLAGS.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVANTRELL_BENCH=ON
bench_target=frame_bench
source "$root/scripts/bench-window.sh"

cd "$build/game"
# The game's own trace lines share standard output with the table: keep the
# table, the ratios and the machine's description (standard error).
status=0
LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe "$bench" --benchmark_color=false ${BENCH_FLAGS:-} \
    >"$work/stdout" 2>"$work/stderr" || status=$?
grep -vE '^\*\*\*WARNING' "$work/stderr" || true
grep -E '^(-{10}|Benchmark |Floor|BareTerrain|NukeCrater|CraterSettling|GameFrame|SalvoFrame|Background|frame / |bare terrain |background / |marks / |crater - |crater settling - )' "$work/stdout" || true
if [ "$status" -ne 0 ]; then
    echo "frame_bench failed with status $status" >&2
    tail -n 20 "$work/stdout" >&2
    exit "$status"
fi
