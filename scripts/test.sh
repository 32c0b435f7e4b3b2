#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit tests,
# the real-window tests under Xvfb, the unit and real-window tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of each fuzzer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/install-deps.sh" --test

echo "== Build and test"
# Tests on explicitly: play.sh turns them off in the same build folder.
# Without debug information, which costs half again the compile time of a test
# file and serves nobody here; the sanitized build below keeps line tables for
# its reports. Both keep assert live (no NDEBUG): a broken invariant fails a test.
cmake -S "$root" -B "$root/build" -DVANTRELL_TESTS=ON -DVANTRELL_BENCH=ON -DVANTRELL_WERROR=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2" >/dev/null
cmake --build "$root/build" -j"$jobs"
(cd "$root/build" && ctest --output-on-failure -j"$jobs")

echo "== Unit and real-window tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# Line tables only (-g1): enough for the reports' file and line, at two thirds of
# the compile time of full debug information.
cmake -S "$root" -B "$root/build-sanitize" -DVANTRELL_SANITIZE=ON -DVANTRELL_BENCH=OFF -DVANTRELL_WERROR=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1" >/dev/null
cmake --build "$root/build-sanitize" -j"$jobs"
# The real-window tests drive the sanitized game itself: a sanitizer report on
# its standard error fails the test, and the games that end with "quit" are
# checked for leaks at their exit. The play and result scripts are left to the
# plain run: the paths they take (menus, firing, craters, results) are the ones
# the replays already drive here, and with them this run costs CI a minute more.
# Of the two-game tests the network game played directly runs here (two
# sanitized games); the relay, the dropout and the refusal take the same paths
# through the game again.
(cd "$root/build-sanitize" &&
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --output-on-failure -j"$jobs" -L 'unit|realwindow' \
            -E '^realwindow_(play|result|network_(relay|dropout|refused))$')

if [ -x "$root/scripts/fuzz.sh" ]; then
    echo "== Fuzzing"
    "$root/scripts/fuzz.sh"
fi
echo "== All tests passed"
