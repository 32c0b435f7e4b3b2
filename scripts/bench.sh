#!/usr/bin/env bash
# Builds and runs every benchmark: the world simulation, the network, the computer
# players' shots to kill, the replay recorder's cost per frame, then the frame under Xvfb.
#   scripts/bench.sh [build folder]     (default: build-bench, a Release build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}

"$root/scripts/install-deps.sh" --test
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVANTRELL_TESTS=OFF -DVANTRELL_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target world_bench net_bench computer_shots replay_bench

echo "== World simulation"
"$build/bench/world_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

echo "== Network: codec, digest, bytes on the wire"
"$build/bench/net_bench"

echo "== Computer players: shots to kill a tank that never fires back"
"$build/bench/computers/computer_shots" 50

echo "== Replays: recording one frame"
"$build/bench/replay/replay_bench"

echo "== Frame"
"$root/scripts/bench-frame.sh" "$build"
