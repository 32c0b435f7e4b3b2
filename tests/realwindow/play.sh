#!/usr/bin/env bash
# A hot-seat game in the real window, driven by the keyboard and the mouse as a
# person would, and what a player sees of it, checked on real pixels: the title
# picture fills the window; a key brings up the menu below the title (the
# README's picture of the menu is play-02-menu.png), whose first line starts a
# 2-player game on fresh ground, which fills the lower part of a view from near
# the ground; the camera flies behind Player 1, who aims, steps to the Nuke and
# fires: the shot is seen in flight (play-06-flying.png is the README's picture
# of the game) and its crater afterwards; from the ceiling,
# looking straight down past the field's edge and corner, the unlit ground shows
# its sand and grass bands and round the field the sky's floor, nothing black;
# "quit" in the console ends the game. The screenshots stay in $VT_OUT.
source "$(dirname "$0")/harness.sh"

shot() { vt_screenshot "play-$1"; }

# What the view shows, by colour (see vt_mask): ratios, not levels, so shading
# does not matter. Sky is blue; sand is warm and yellow, grass green, and either
# at least 30 bright. Rock, a near grey, caps only the highest peaks: one
# landscape shows a wide cap, the next a few tiles or none, so it is not asked for.
SKY=("-1 0 1 -40.5" "0 -1 1 -10.5")
SAND=("1 0 -1.4 0" "0 1 -1.2 0" "1 -1 0 0.5" "1 0 0 -29.5")
GRASS=("-1.08 1 0 0" "0 1 -1.3 0" "0 1 0 -29.5")
whole=$((639 * 479)) # a screenshot's pixels

# Fails unless the count COUNT of WHAT is at least LOW and at most HIGH (if given).
expect() { # WHAT COUNT LOW [HIGH]
    echo "$1: $2"
    [ "$2" -ge "$3" ] && [ "$2" -le "${4:-$2}" ] || vt_fail "$1: $2, not $3 to ${4:-any}"
}

vt_start_xvfb
vt_start_game
vt_wait_started
sleep 1 # a few frames under the software renderer
# No 32-pixel block of the title is all black: the picture is stretched over
# the whole window.
title=$(shot 01-title)
expect "title blocks all black" "$(vt_mask "$title" "${VT_BLACK[@]}" |
    convert - -crop 32x32 -format '%[fx:minima]\n' info: | grep -cx 1)" 0 0

# Any key on the title brings up the main menu; the key trace goes on, which
# paces the keys from here on. The menu's eight lines stay below the title and
# its subtitle: the top 104 rows show the picture alone.
vt_trace_keys
sleep 0.5
expect "title rows changed by the menu" \
    "$(vt_pixels_changed "$title[639x104+0+0]" "$(shot 02-menu)[639x104+0+0]")" 0 0

# The main menu's first option: a fresh terrain and a 2-player game; Esc then
# closes the menu. Both tanks fall from 175 onto the new ground. The camera is
# the person's alone: the flights below start where the game's camera starts.
vt_console "set follow 0"
start=$(vt_lines)
vt_key Return
vt_wait "$start" '^processCommand: "tanks 2"$' 10
vt_key Escape
vt_wait "$start" '^bounce sphere terrain [0-9]+$' 30 2

# The camera stands just above the ground near the field's left edge. Turned
# towards the field's far right corner (dragging the pointer left by half the
# window turns the view by 45 degrees) and looking a little down (107 pixels
# up: 20 degrees), it sees ground over the whole lower part of the view: at
# most a fifth of the lower third is sky (slopes facing away from the light are
# too dark to tell their band, so "not sky" rather than "ground"). The drag back
# turns it as it was.
vt_drag 480 300 160 193
sleep 0.5
expect "sky in the lower third" "$(vt_mask "$(shot 03-ground)" "${SKY[@]}" |
    vt_white_pixels -gravity south -crop 639x159+0+0)" 0 $((639 * 159 / 5))
vt_drag 160 193 480 300

# The view from behind Player 1: fly back to the z = 200 edge and up to the
# ceiling at once (held until the view stops moving at the clamps), then
# drag the view toward the middle of the field and 45 degrees down.
vt_hold_until_still 60 Down Prior
vt_drag 400 240 211 240
vt_drag 320 400 320 160

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
still=$(shot 05-still)
sleep 0.3
before=$(shot 05-aimed)
noise=$(vt_pixels_changed "$still" "$before")
start=$(vt_lines)
vt_key space
vt_wait "$start" '^Explosive\(\)$' 5
sleep 0.4
flying=$(shot 06-flying)
sleep 0.5
moved=$(vt_pixels_changed "$flying" "$(shot 06-flying-later)")
echo "in flight: $moved pixels changed, at rest: $noise"
[ "$moved" -ge $((noise + 4)) ] || vt_fail "nothing moved on screen while the shot flew"

# The shell touches the ground or a tank, its explosion grows to its blast
# radius of 32 (6.4 s), digs the crater and is gone: a five-hundredth of the
# picture changes by more than 40 of 255.
vt_wait "$start" '^Activating explosion [0-9]+$' 30
vt_wait "$start" '^~Explosion\(\)$' 30
sleep 1
expect "changed by the crater" "$(vt_pixels_changed "$before" "$(shot 07-crater)" 15.7%)" \
    $((whole / 500))

# Straight down from the ceiling over the z = 200 edge: the view reaches past
# the field on two sides and over its corner, where no hill can hide the
# ground outside it. Unlit, the bands show in their own colours: no slope is
# in shadow. Round the field lies the sky's floor or its wall, not the clear
# colour under an open sky. The weapon bar's icons may have black in them.
# Without the marks, whose green health bars would pass for grass. One
# landscape in a few is all low sand round this corner: then a new one is
# raised under the same view, up to three times.
vt_drag 320 360 320 120
vt_console "set lighting 0;set marks 0"
for try in 1 2 3; do
    sleep 1
    terrain=$(shot 08-terrain)
    grass=$(vt_mask "$terrain" "${GRASS[@]}" | vt_white_pixels)
    [ "$grass" -ge $((whole / 500)) ] && break
    echo "grass: $grass on landscape $try, raising another"
    vt_console "terrain"
done
expect "sand" "$(vt_mask "$terrain" "${SAND[@]}" | vt_white_pixels)" $((whole / 500))
expect "grass" "$grass" $((whole / 500))
expect "black beside the weapon bar" "$(vt_mask "$terrain" "${VT_BLACK[@]}" |
    vt_white_pixels -fill black -draw 'rectangle 0,0 191,31')" 0 0

# The console ends the game.
vt_key grave
vt_type "quit"
vt_key Return
vt_wait_exit 30
[ "$VT_GAME_STATUS" -eq 0 ] || vt_fail "quit ended the game with status $VT_GAME_STATUS"
grep -qxF 'processCommand: "quit"' "$VT_STDOUT" || vt_fail "no trace of the quit command"
echo "play: ok"
