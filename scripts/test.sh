#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit tests,
# the real-window tests under Xvfb, the unit tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short run of each fuzzer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/install-deps.sh" --test

echo "== Build and test"
# Tests on explicitly: play.sh turns them off in the same build folder.
cmake -S "$root" -B "$root/build" -DVANTRELL_TESTS=ON -DVANTRELL_BENCH=ON >/dev/null
cmake --build "$root/build" -j"$jobs"
(cd "$root/build" && ctest --output-on-failure -j"$jobs")

echo "== Unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$root/build-sanitize" -DVANTRELL_SANITIZE=ON -DVANTRELL_BENCH=OFF >/dev/null
cmake --build "$root/build-sanitize" -j"$jobs"
(cd "$root/build-sanitize" &&
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --output-on-failure -j"$jobs" -L unit)

if [ -x "$root/scripts/fuzz.sh" ]; then
    echo "== Fuzzing"
    "$root/scripts/fuzz.sh"
fi
echo "== All tests passed"
