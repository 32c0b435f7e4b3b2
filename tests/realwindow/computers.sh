#!/usr/bin/env bash
# Computer players in the real window, two games in one run of the game:
#   1. "You vs Computer" from the main menu: the computer fires within five
#      seconds of the person, and says nothing about itself on standard output;
#   2. "terrain;tanks 2;computers 2 hard" from the console (hard ones end it
#      sooner), then Esc: a whole game to its result with no key pressed.
# How a computer's turn moves its aim, and that the menu holds it, the unit
# tests show; here it is the real clock and the real frame rate.
# The game simulates at most a quarter second an update, so below four frames a
# second its clock falls behind the wall's. A game built with the sanitizers
# draws about ten on an idle machine and fewer on a loaded one: its whole game
# is given twice as long.
source "$(dirname "$0")/harness.sh"

# The heads-up line "Velocity: N": the pixels that are pure white, the inside of
# the glyphs, which no scene behind them changes.
velocity_mask() {
    vt_mask "$1" "1 0 0 -254.5" "0 1 0 -254.5" "0 0 1 -254.5" |
        convert - -gravity southwest -crop 208x16+0+48 +repage "$2"
}

# The shell in the middle of the picture (a box of 240 by 240 pixels): a dark
# patch of a ball's size there that does not reach the box's edges, which sets
# it apart from a hillside in shadow. Prints its box and area, or nothing.
shell_in_middle() {
    vt_mask "$1" "-1 0 0 45.5" "0 -1 0 45.5" "0 0 -1 45.5" |
        convert - -crop 240x240+200+120 +repage -define connected-components:verbose=true \
            -connected-components 8 null: |
        awk '$NF ~ /255/ { split($2, b, /[x+]/); w = b[1]; h = b[2]; x = b[3]; y = b[4]
            if ($4 >= 20 && $4 <= 2500 && w <= 80 && h <= 80 && x > 0 && y > 0 &&
                x + w < 240 && y + h < 240) { print $2, $4; exit } }'
}

since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }'; }

whole_game=180
ldd "$VT_GAME_DIR/vantrell" | grep -q libasan && whole_game=360

vt_start_xvfb
vt_start_game
vt_wait_started
vt_trace_keys # the menu is left open

# 1. The menu's fourth line, "You vs Computer"; Esc to play once both tanks have
# landed.
start=$(vt_lines)
vt_key Down Down Down Return
vt_wait "$start" '^processCommand: "computers 1"$' 10
vt_key Escape
vt_wait "$start" '^bounce sphere terrain [0-9]+$' 30 2
# The barrel raised nearly straight up and the velocity to about 32: a shell
# that climbs out of any fixed view of the tank and flies for some seconds.
vt_hold w 0.9
vt_hold r 0.25
sleep 1.5 # the camera glides to the person's tank
turn=$(vt_screenshot computers-01-your-turn)
velocity_mask "$turn" "$VT_OUT/computers-velocity-1.png"
# The middle of the picture (a box of 240 by 240 pixels) shows the person's
# tank in its player's colour, a strong red.
red=$(vt_mask "$turn" "1 -2 0 0" "1 0 -2 0" "1 0 0 -100.5" | vt_white_pixels -crop 240x240+200+120)
echo "the person's turn: $red red pixels in the middle"
[ "$red" -ge 150 ] || vt_fail "the person's tank is not in the middle of the picture in its colour"

# An arrow key gives the camera to the person: it stays where they steered it.
vt_hold Left 0.4
sleep 1.5
moved=$(vt_pixels_changed "$turn" "$(vt_screenshot computers-02-steered)")
echo "the person's camera: $moved pixels changed"
[ "$moved" -ge 20000 ] || vt_fail "the camera went back after the person steered it"

# The camera follows the shell up and down: the dark ball of the shell stays in
# the middle of the picture, against the sky, for as long as it flies.
# The computer answers meanwhile: when its shot is first seen in the trace is
# when it fired, give or take a screenshot.
start=$(vt_lines)
vt_key space
shot=$EPOCHREALTIME
took=""
for n in 1 2 3 4 5 6; do
    sleep 0.3
    ball=$(shell_in_middle "$(vt_screenshot "computers-02-flight-$n")")
    echo "the shell's flight, $n: a dark ball in the middle: ${ball:-none}"
    [ -n "$ball" ] || vt_fail "the shell left the middle of the picture"
    [ -z "$took" ] && [ "$(vt_count_after "$start" '^Explosive\(\)$')" -ge 2 ] && took=$(since "$shot")
done
vt_wait "$start" '^Explosive\(\)$' 10 2
[ -n "$took" ] || took=$(since "$shot")
echo "the computer fired ${took}s after the person"
awk -v t="$took" 'BEGIN { exit !(t < 5.0) }' || vt_fail "the computer took ${took}s to fire"

# Its turn over, the person's own velocity and weapon are back.
sleep 0.5
back=$(vt_screenshot computers-03-after-the-computer)
velocity_mask "$back" "$VT_OUT/computers-velocity-2.png"
velocity=$(vt_pixels_changed "$VT_OUT/computers-velocity-1.png" "$VT_OUT/computers-velocity-2.png" 0)
bar=$(convert "$turn" "$back" -crop 190x30+0+1 +repage miff:- |
    compare -metric AE - null: 2>&1 | awk '{ print int($1) }')
echo "after the computer's turn: velocity text $velocity pixels, weapon bar $bar pixels changed"
# Another number changes scores of pixels; a few come and go with the scene.
[ "$velocity" -le 12 ] && [ "$bar" -eq 0 ] ||
    vt_fail "the computer's velocity or weapon stayed in the person's controls"
grep -av '^processCommand: ' "$VT_STDOUT" | grep -aqi computer &&
    vt_fail "a line about the computer on standard output"

# 2. A game of two computers, started from the console over the menu; Esc
# closes the menu and lets the result be announced.
start=$(vt_lines)
vt_key Escape
vt_console "terrain;tanks 2;computers 2 hard"
vt_wait "$start" '^processCommand: "computers 2 hard"$' 10
start=$(vt_lines) # the last game's shells went with it
vt_key Escape
begun=$EPOCHREALTIME
vt_wait "$start" '^TankObject::damageEvent\(.*\) health = 0$' "$whole_game"
echo "a computer died $(since "$begun")s after the game began"
sleep 1.5
vt_expect_message yes "the result" "$(vt_screenshot computers-result)"
echo "computers: ok"
