#!/bin/sh
# Builds the libFuzzer targets of the asset readers and the network's decoder
# with clang in a build folder of their own and runs each for a while, starting
# from the seeds in fuzz/corpus.
# Fails when any target finds a crash, a sanitizer report, a leak or a blow-up
# past the memory limit. New inputs go to the build folder, never to the seeds.
#
#   scripts/fuzz.sh                 build-fuzz/, 10 s per target
#   FUZZ_SECONDS=300 FUZZ_BUILD=/tmp/f scripts/fuzz.sh
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-10}
targets="mesh skeleton menu png tga sound replay netmessage"

mkdir -p "$build"
# Asserts stay live (no NDEBUG): one that fires on some bytes is a finding.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DVANTRELL_FUZZ=ON -DVANTRELL_TESTS=OFF -DVANTRELL_WERROR=ON \
    -DVANTRELL_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g" >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)" --target $(for target in $targets; do echo "fuzz_$target"; done)

# One target a core at a time: the same time each, a fraction of the wait.
run() {
    target=$1
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    # The network's decoder is small: it covers all it can in a few seconds,
    # and alone in the last round it should not cost a whole round more.
    budget=$seconds
    if [ "$target" = netmessage ]; then
        budget=$(( (seconds + 3) / 4 ))
    fi
    # -close_fd_mask=3 hides the readers' own lines; libFuzzer and the
    # sanitizers still report on a copy of standard error.
    if "$build/fuzz/fuzz_$target" -max_total_time="$budget" -rss_limit_mb=2048 \
        -close_fd_mask=3 -artifact_prefix="$build/fuzz_$target-" \
        "$corpus" "$root/fuzz/corpus/$target" >"$build/fuzz_$target.log" 2>&1; then
        echo clean >"$build/fuzz_$target.status"
    else
        echo finding >"$build/fuzz_$target.status"
    fi
}
cores=$(nproc)
running=0
for target in $targets; do
    rm -f "$build/fuzz_$target.status"
    run "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$cores" ]; then
        wait
        running=0
    fi
done
wait

status=0
for target in $targets; do
    log=$build/fuzz_$target.log
    if [ "$(cat "$build/fuzz_$target.status" 2>/dev/null)" = clean ]; then
        runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 runs in \2 s/p' "$log")
        echo "fuzz_$target: clean, $runs, corpus $(ls "$build/corpus/$target" | wc -l) inputs"
    else
        echo "fuzz_$target: FINDING (log $log):"
        tail -n 40 "$log"
        status=1
    fi
done
exit $status
