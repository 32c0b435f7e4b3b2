#!/usr/bin/env bash
# A whole hot-seat game in the real window, driven by the keyboard as a person
# would: title, main menu, a 2-player game, aiming, a weapon change, a shot that
# flies and digs a crater, a Nuke that ends the game, and "quit" in the console.
source "$(dirname "$0")/harness.sh"

# Waits until at least COUNT different lines match REGEX.
wait_count() {
    local regex=$1 count=$2 seconds=${3:-30} i
    for i in $(seq 1 $((seconds * 10))); do
        [ "$(grep -E -- "$regex" "$VT_STDOUT" | sort -u | wc -l)" -ge "$count" ] && return 0
        sleep 0.1
    done
    vt_fail "fewer than $count lines matching /$regex/ within ${seconds}s"
}

# Drags the mouse with the left button from (X1, Y1) to (X2, Y2) in the window.
drag() {
    xdotool mousemove --window "$VT_WINDOW" "$1" "$2" mousedown 1 sleep 0.1 \
        mousemove --window "$VT_WINDOW" "$3" "$4" sleep 0.1 mouseup 1
    sleep 0.2
}

# The number of pixels that differ between two screenshots.
pixels_changed() {
    compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 | awk '{ print int($1) }'
}

# True when at least FRACTION of the pixels of two screenshots differ.
shots_differ() {
    local a=$1 b=$2 fraction=$3 changed total
    changed=$(pixels_changed "$a" "$b")
    total=$(identify -format '%[fx:w*h]' "$a")
    echo "$(basename "$a") / $(basename "$b"): $changed of $total pixels differ"
    awk -v c="$changed" -v t="$total" -v f="$fraction" 'BEGIN { exit !(c >= f * t) }'
}

# Runs a command line through the console: open it, type, Enter, close it.
console_command() {
    vt_key grave
    vt_type "$1"
    vt_key Return
    vt_key grave
}

vt_start_xvfb
vt_start_game
vt_wait_started
title=$(vt_screenshot play-01-title)

# Any key on the title brings up the main menu.
vt_key space
sleep 0.5
menu=$(vt_screenshot play-02-menu)
shots_differ "$title" "$menu" 0.01 || vt_fail "the menu did not appear over the title"

# Key events are traced from here on, so the log shows every key reach the game.
console_command "set keydump 1"
vt_wait_line 'processCommand: "set keydump 1"'

# The main menu's first option: a fresh terrain and a 2-player game; Esc then
# closes the menu and clears the result latch the title set.
vt_key Return
vt_wait_line 'processCommand: "tanks 2"' 10
vt_wait_line 'processCommand: "terrain"' 10
vt_key Escape

# Both tanks fall from 175 onto the new ground.
wait_count '^bounce sphere terrain [0-9]+$' 2 30

# The view from behind Player 1: fly back to the z = 200 edge and up to the
# ceiling (both held until the view stops moving at their clamps), then
# drag the view toward the middle of the field and 45 degrees down.
vt_hold_until_still Down 60
vt_hold_until_still Prior 60
drag 400 240 211 240
drag 320 400 320 160
sleep 0.5
vt_screenshot play-03-landed >/dev/null

# Player 1 stands at z = 175 and Player 2 at z = 25: turn the turret half round
# (90 degrees a second), raise the barrel steeply so the shell climbs clear of
# the hills in sight of the camera, and add some launch velocity.
vt_hold a 2
vt_hold w 0.85
vt_hold r 0.33
vt_wait_line "KEYDOWN: 97 = 'a'"
vt_wait_line "KEYUP: 119 = 'w'"
vt_wait_line "KEYUP: 114 = 'r'"

# From the Baby Missile through the Missile and the Baby Nuke to the Nuke, whose
# crater is wide enough to see from afar.
vt_key Tab Tab Tab
vt_wait_line $'KEYDOWN: 9 = \'\t\''

# With everything at rest two frames are the same; while the shell flies the
# only change between two frames is the shell, a few pixels across from here.
still=$(vt_screenshot play-04-still)
sleep 0.3
before=$(vt_screenshot play-04-aimed)
noise=$(pixels_changed "$still" "$before")
start=$(vt_lines)
vt_key space
vt_wait_after "$start" '^Explosive\(\)$' 5
sleep 0.4
flying=$(vt_screenshot play-05-flying)
sleep 0.5
later=$(vt_screenshot play-05-flying-later)
moved=$(pixels_changed "$flying" "$later")
echo "in flight: $moved pixels changed, at rest: $noise"
[ "$moved" -ge $((noise + 4)) ] || vt_fail "nothing moved on screen while the shot flew"

# The shell touches the ground or a tank, its explosion grows to its blast
# radius of 32 (6.4 s), digs the crater and is gone.
vt_wait_after "$start" '^Activating explosion [0-9]+$' 30
sleep 3
vt_screenshot play-06-explosion >/dev/null
vt_wait_after "$start" '^~Explosion\(\)$' 30
sleep 1
after=$(vt_screenshot play-07-crater)
shots_differ "$before" "$after" 0.002 || vt_fail "the crater left no trace on screen"

# Unless the first Nuke already ended a tank, Player 2 drops one at its own feet:
# velocity 0 from the barrel's tip. At that range the blast takes more than a
# tank's whole health.
if ! grep -qE '^TankObject::damageEvent\(.*\) health = 0$' "$VT_STDOUT"; then
    vt_hold f 1.5
    start=$(vt_lines)
    vt_key space
    vt_wait_after "$start" '^Activating explosion [0-9]+$' 30
fi
vt_wait_match '^TankObject::damageEvent\(.*\) health = 0$' 30
sleep 1
won=$(vt_screenshot play-08-won)
# "Player N wins!" in white across the middle.
# Measured against the picture before the first shot: when that shot already
# ended a tank, the crater's picture shows the result too.
shown=$(vt_message_pixels "$won")
echo "message band: $shown white pixels after the death, $(vt_message_pixels "$before") before the shots"
[ "$shown" -ge $(($(vt_message_pixels "$before") + 100)) ] || vt_fail "no result written across the middle"

# The console ends the game.
vt_key grave
vt_type "quit"
vt_key Return
vt_wait_exit 30
[ "$VT_GAME_STATUS" -eq 0 ] || vt_fail "quit ended the game with status $VT_GAME_STATUS"
grep -qxF 'processCommand: "quit"' "$VT_STDOUT" || vt_fail "no trace of the quit command"
echo "play: ok"
