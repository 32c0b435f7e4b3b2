#!/usr/bin/env bash
# Watches a 64-tank Death's Head salvo in the real game's loop, in a private Xvfb
# server with Mesa's software renderer (llvmpipe), at 640 x 480: idle frames per
# second, the salvo's length, its slowest half second and the ratio of the two.
#   scripts/bench-salvo.sh [build folder] [rounds] [idle seconds]   (build, 3, 3)
# Builds salvo_watch (with the asset pack) if needed, then runs it from the game
# folder so it finds data/. The game's trace is dropped; the figures are shown.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVANTRELL_BENCH=ON
bench_target=salvo_watch
source "$root/scripts/bench-window.sh"

# The bursts are mixed on OpenAL's null device, as in the real-window tests:
# the same work as on a sound card, and no noise.
printf '[general]\ndrivers = null\n' >"$work/alsoft.conf"
export ALSOFT_CONF=$work/alsoft.conf

cd "$build/game"
status=0
LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe "$bench" "${2:-3}" "${3:-3}" \
    >"$work/stdout" 2>"$work/stderr" || status=$?
grep -vE '^\*\*\*WARNING' "$work/stderr" || true
if [ "$status" -ne 0 ]; then
    echo "salvo_watch failed with status $status" >&2
    tail -n 20 "$work/stdout" >&2
    exit "$status"
fi
