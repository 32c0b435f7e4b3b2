#!/usr/bin/env bash
# Builds and runs every benchmark: the world simulation, the network, the computer
# players' shots to kill, the replay recorder's cost per frame, then the frame under Xvfb.
# Networked play end to end (net_play_bench) needs the test build's fake OpenGL and
# relay, which this Release build leaves out: the last lines say how to run it.
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

echo "== Networked play: not built here (it needs VANTRELL_TESTS=ON); to run it, about 90 s:"
echo "   cmake -S $root -B $root/build -DVANTRELL_TESTS=ON -DVANTRELL_BENCH=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo"
echo "   cmake --build $root/build --target net_play_bench && $root/build/bench/network/net_play_bench"
