# Sourced by the benchmarks that draw in a real window: builds the benchmark
# named by $bench_target (with the asset pack) in $build if needed and sets
# $bench to its path, then starts a private Xvfb server for it, ended with the
# script, and exports DISPLAY. $work is a scratch folder removed at the end.
cmake --build "$build" -j2 --target "$bench_target" vantrell_data
bench=$(find "$build/bench" -name "$bench_target" -type f -perm -u+x | head -n 1)
[ -n "$bench" ] || { echo "$bench_target was not built" >&2; exit 1; }

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
