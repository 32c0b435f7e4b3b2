#!/usr/bin/env bash
# Two games side by side in one X server, keys sent to each in turn through the
# X test extension: a key reaches the game whose window has the focus and no
# other, typed lines and single letters alike; a key held on one is one press
# there (the server repeats it, the window takes one event per press) and held
# in its console types on and on, while the other game hears nothing of it;
# "quit" ends each with status 0. The network tests stand on this.
source "$(dirname "$0")/harness2.sh"

# Fails unless game NAME traced exactly WANT key presses after its line LINES,
# all of them of key CODE (none, for WANT 0).
expect_presses() { # NAME LINES CODE WANT WHAT
    local all own
    all=$(vt_on "$1" vt_count_after "$2" '^KEYDOWN: ')
    own=$(vt_on "$1" vt_count_after "$2" "^KEYDOWN: $3 ")
    echo "$5: game $1 traced $all presses, $own of key $3"
    [ "$all" -eq "$4" ] && [ "$own" -eq "$4" ] ||
        vt_fail "$5: game $1 traced $all presses ($own of key $3), not $4 of key $3"
}

vt_start_xvfb
vt_check_key_repeat
vt_start_game_as A
vt_start_game_as B
vt_on A vt_wait_started
vt_on B vt_wait_started

# The key trace on in each, typed into each one's own console. A's trace is on
# while B's whole command is typed: A must trace none of it.
vt_use A
vt_trace_keys
a=$(vt_on A vt_lines)
vt_use B
vt_trace_keys
expect_presses A "$a" 0 0 "B's console typed"
vt_screenshot two-windows-A-traced >/dev/null
vt_on B vt_screenshot two-windows-B-traced >/dev/null

# A letter on each in turn, and back: q on A, p on B, q on A.
a=$(vt_on A vt_lines) b=$(vt_on B vt_lines)
vt_use A
vt_key q
vt_use B
vt_key p
vt_use A
vt_key q
expect_presses A "$a" 113 2 "q, p, q in turn"
expect_presses B "$b" 112 1 "q, p, q in turn"

# h held for 1.5 s on A, which the server repeats some 25 times: one press and
# one release on A, nothing on B.
a=$(vt_on A vt_lines) b=$(vt_on B vt_lines)
vt_hold h 1.5
expect_presses A "$a" 104 1 "h held on A"
expect_presses B "$b" 104 0 "h held on A"
releases=$(vt_on A vt_count_after "$a" "^KEYUP: 104 ")
[ "$releases" -eq 1 ] || vt_fail "h held on A gave $releases releases there, not 1"

# x held 1.5 s in A's console: the console types it again after half a second,
# 25 times a second, so the line holds many; B still hears nothing.
vt_key grave
a=$(vt_on A vt_lines) b=$(vt_on B vt_lines)
vt_hold x 1.5
vt_key Return grave
vt_on A vt_wait "$a" '^processCommand: "xxx+"$' 10
typed=$(vt_on A vt_count_after "$a" '^processCommand: "x{10,}"$')
[ "$typed" -eq 1 ] || vt_fail "x held in A's console did not type on: $(tail -n 3 "$(vt_stdout A)")"
expect_presses B "$b" 120 0 "x held in A's console"

# "quit" on each, A first: B hears none of A's; no closing key after it, which
# would go to whichever window the focus falls back to.
b=$(vt_on B vt_lines)
for game in A B; do
    vt_use "$game"
    vt_key grave
    vt_type quit
    vt_key Return
    vt_on "$game" vt_wait_exit 30
    [ "$game" = B ] || expect_presses B "$b" 0 0 "quit typed on A"
    status=$(vt_on "$game" eval 'echo "$VT_GAME_STATUS"')
    [ "$status" -eq 0 ] || vt_fail "quit ended game $game with status $status"
done
echo "two windows: ok"
