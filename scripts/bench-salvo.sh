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
cmake --build "$build" -j2 --target salvo_watch vantrell_data
watch=$(find "$build/bench" -name salvo_watch -type f -perm -u+x | head -n 1)
[ -n "$watch" ] || { echo "salvo_watch was not built" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/vantrell-salvo.XXXXXX")
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

# The bursts are mixed on OpenAL's null device, as in the real-window tests:
# the same work as on a sound card, and no noise.
printf '[general]\ndrivers = null\n' >"$work/alsoft.conf"
export ALSOFT_CONF=$work/alsoft.conf

cd "$build/game"
status=0
LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe "$watch" "${2:-3}" "${3:-3}" \
    >"$work/stdout" 2>"$work/stderr" || status=$?
grep -vE '^\*\*\*WARNING' "$work/stderr" || true
if [ "$status" -ne 0 ]; then
    echo "salvo_watch failed with status $status" >&2
    tail -n 20 "$work/stdout" >&2
    exit "$status"
fi
