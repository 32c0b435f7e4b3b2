#!/usr/bin/env bash
# The stored games of tests/replays, each played with --replay FILE --fast: the
# whole standard output must have the digest that tests/replays/digests.txt
# gives it. A change to the simulation or the rules that alters any of these
# games shows here. With VT_PRINT_DIGESTS=1 the digests are printed instead of
# checked, in the file's form, for a deliberate change of the rules.
source "$(dirname "$0")/harness.sh"

stored=$VT_HERE/../replays

vt_start_xvfb
status=0
for replay in "$stored"/*.vtr; do
    name=$(basename "$replay")
    began=$EPOCHREALTIME
    vt_start_game --replay "$replay" --fast
    vt_wait_replayed 60
    kill "$VT_GAME_PID" && wait "$VT_GAME_PID" 2>/dev/null
    VT_GAME_PID=""
    # A display list the driver refused would draw the rest of the run call by
    # call: still the right picture, but the salvo's frames would not keep up.
    ! grep -q 'OpenGL error' "$VT_STDERR" || vt_fail "$name: $(grep -m 1 'OpenGL error' "$VT_STDERR")"
    digest=$(sha256sum <"$VT_STDOUT" | cut -d' ' -f1)
    if [ -n "${VT_PRINT_DIGESTS:-}" ]; then
        echo "$digest  $name"
        continue
    fi
    expected=$(awk -v n="$name" '$2 == n { print $1 }' "$stored/digests.txt")
    echo "$name: $(wc -l <"$VT_STDOUT") trace lines in $(awk -v a="$began" -v b="$EPOCHREALTIME" \
        'BEGIN { printf "%.1f", b - a }') s"
    if [ "$digest" != "$expected" ]; then
        cp "$VT_STDOUT" "$VT_OUT/stored-$name-stdout.txt"
        echo "FAIL: $name: the trace's digest is $digest, not ${expected:-(none stored)}" >&2
        status=1
    fi
done
exit "$status"
