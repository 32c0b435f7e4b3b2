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
cmake --build "$build" -j2 --target frame_bench vantrell_data
bench=$(find "$build/bench" -name frame_bench -type f -perm -u+x | head -n 1)
[ -n "$bench" ] || { echo "frame_bench was not built" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vantrell-bench.XXXXXX")
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid"
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display number itself.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display" | tr -d '[:space:]')"

cd "$build/game"
# The game's own trace lines share standard output with the table: keep the
# table, the ratios and the machine's description (standard error).
status=0
LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe "$bench" --benchmark_color=false ${BENCH_FLAGS:-} \
    >"$work/stdout" 2>"$work/stderr" || status=$?
grep -vE '^\*\*\*WARNING' "$work/stderr" || true
grep -E '^(-{10}|Benchmark |Floor|BareTerrain|NukeCrater|GameFrame|SalvoFrame|Background|frame / |bare terrain |background / |marks / |crater - )' "$work/stdout" || true
if [ "$status" -ne 0 ]; then
    echo "frame_bench failed with status $status" >&2
    tail -n 20 "$work/stdout" >&2
    exit "$status"
fi
