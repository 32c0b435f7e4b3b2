#!/usr/bin/env bash
# A game stopped for 5 s in the middle of a shot (a stopped process, a laptop
# put to sleep) lets the 5 s go: the shell lands about 5 s later than the same
# shot without the stop, not at once as if the lost time had been flown, and
# the game goes on drawing and taking keys.
source "$(dirname "$0")/harness.sh"

# Waits for a line matching REGEX after the first LINES lines and prints the
# time it was first seen, in seconds.
time_of() {
    local lines=$1 regex=$2 seconds=${3:-30} end
    end=$(($(date +%s) + seconds))
    while [ "$(date +%s)" -le "$end" ]; do
        if tail -n +"$((lines + 1))" "$VT_STDOUT" | grep -qE -- "$regex"; then
            date +%s.%N
            return 0
        fi
        sleep 0.02
    done
    vt_fail "no line matching /$regex/ after line $lines within ${seconds}s"
}

seconds_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

# The physics runs in fixed steps, so two shots from the same tank with the
# same aim fly the same path in game time; only the stop may set them apart.
# One tank, whose turn comes straight back after each shot.
vt_start_xvfb
vt_start_game
vt_wait_started
vt_trace_keys
vt_key grave
vt_type "terrain;tanks 1"
vt_key Return grave Escape
vt_wait_count '^bounce sphere terrain [0-9]+$' 1 30
sleep 0.5

# About 30 degrees up at full velocity (held past the limit of 100): the shell
# rises for about five seconds, or bounces down from the ceiling of the world
# sooner, and lands long after the stop below has begun. A hill in its way can
# end the flight early; then new ground is raised and the shot tried again.
vt_hold w 0.33
vt_hold r 1.5
vt_wait_line "KEYUP: 114 = 'r'" 5
plain=0
for attempt in 1 2 3; do
    start=$(vt_lines)
    vt_key space
    fired=$(time_of "$start" '^Explosive\(\)$' 5)
    landed=$(time_of "$start" '^Explosive::contactEvent$' 30)
    plain=$(seconds_between "$fired" "$landed")
    echo "without a stop the shell flew ${plain}s"
    time_of "$start" '^~Explosion\(\)$' 30 >/dev/null
    # Long enough that a game which flew the stopped time at once would land
    # well short of the 5 s later.
    awk -v t="$plain" 'BEGIN { exit !(t >= 3) }' && break
    [ "$attempt" -lt 3 ] || vt_fail "three shots in a row hit a hill within 3s"
    start=$(vt_lines)
    vt_key grave
    vt_type "terrain;tanks 1"
    vt_key Return grave
    time_of "$start" '^bounce sphere terrain [0-9]+$' 30 >/dev/null
    sleep 0.5
    # The new tank aims as the last one did.
    vt_hold w 0.33
done
sleep 0.5

# The same shot, the game stopped for 5 s a third of a second into the flight.
start=$(vt_lines)
vt_key space
fired=$(time_of "$start" '^Explosive\(\)$' 5)
sleep 0.3
kill -STOP "$VT_GAME_PID"
stopped=$(vt_lines)
sleep 5
kill -CONT "$VT_GAME_PID"
tail -n +"$((start + 1))" "$VT_STDOUT" | head -n "$((stopped - start))" |
    grep -q '^Explosive::contactEvent$' && vt_fail "the shell landed before the game was stopped"
landed=$(time_of "$start" '^Explosive::contactEvent$' 30)
stalled=$(seconds_between "$fired" "$landed")
later=$(seconds_between "$plain" "$stalled")
echo "with 5 s stopped the shell flew ${stalled}s: it landed ${later}s later"
awk -v d="$later" 'BEGIN { exit !(d >= 3.5 && d <= 6.5) }' ||
    vt_fail "the stop moved the landing by ${later}s, not by about 5s"

# Still drawing and taking keys: flying the camera sideways changes the view.
sleep 1
before=$(vt_screenshot stall-after-stop)
vt_hold Left 0.5
sleep 0.3
after=$(vt_screenshot stall-flown)
changed=$(compare -metric AE -fuzz 3% "$before" "$after" null: 2>&1 | awk '{ print int($1) }')
echo "after the stop: $changed pixels changed while the camera flew"
[ "$changed" -ge 5000 ] || vt_fail "the view did not change after the stop: the game stopped drawing"

vt_game_running || vt_fail "vantrell is not running after the stop"
echo "stall: ok"
