#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit tests,
# the real-window tests under Xvfb, the unit and real-window tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of each fuzzer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/install-deps.sh" --test

echo "== Build and test"
# The plain build: the game, its tools and benchmarks, and the real-window,
# install and layer tests the sanitized run below leaves to it. The unit test
# programs are built and run there only, under the sanitizers, which check
# more: building them twice cost CI minutes.
# Without debug information, which costs half again the compile time of a test
# file and serves nobody here; the sanitized build below keeps line tables for
# its reports. Both keep assert live (no NDEBUG): a broken invariant fails a test.
cmake -S "$root" -B "$root/build" -DVANTRELL_TESTS=ON -DVANTRELL_UNIT_TESTS=OFF -DVANTRELL_BENCH=ON \
    -DVANTRELL_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2" >/dev/null
cmake --build "$root/build" -j"$jobs"
(cd "$root/build" && ctest --output-on-failure -j"$jobs" -LE sanitized)

echo "== Unit and real-window tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# Line tables only (-g1): enough for the reports' file and line, at two thirds of
# the compile time of full debug information; -O1, as the sanitizers' own
# advice has it, compiles a fifth faster than -O2.
cmake -S "$root" -B "$root/build-sanitize" -DVANTRELL_SANITIZE=ON -DVANTRELL_UNIT_TESTS=ON \
    -DVANTRELL_BENCH=OFF -DVANTRELL_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" >/dev/null
cmake --build "$root/build-sanitize" -j"$jobs"
# The real-window tests labelled "sanitized" drive the sanitized game itself: a
# sanitizer report on its standard error fails the test, and the games that end
# with "quit" are checked for leaks at their exit. The network game played
# directly runs here, two sanitized games and their replays; the relay, the
# dropout, the refusal, the play and result scripts take the same paths through
# the game and run in the plain build.
(cd "$root/build-sanitize" &&
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --output-on-failure -j"$jobs" -L 'unit|sanitized')

if [ -x "$root/scripts/fuzz.sh" ]; then
    echo "== Fuzzing"
    "$root/scripts/fuzz.sh"
fi
echo "== All tests passed"
