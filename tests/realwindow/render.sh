#!/usr/bin/env bash
# What a player sees, checked on real pixels: the title picture fills the window;
# a key brings up the menu in the middle with its selected line in red; with the
# title gone the terrain fills the lower part of the view, and from above it
# shows its sand and grass bands (rock where the peaks reach it), with the sky's
# floor round the field and nothing black; wireframe drawing changes the picture. The screenshots stay in $VT_OUT.
source "$(dirname "$0")/harness.sh"

shotcheck=${VT_SHOTCHECK:-$VT_BIN_DIR/tests/realwindow/vt_shotcheck}
[ -x "$shotcheck" ] || vt_fail "no screenshot checker at $shotcheck"

shot() { vt_screenshot "render-$1"; }

check() {
    "$shotcheck" "$@" || vt_fail "screenshot check '$*' failed"
}

vt_start_xvfb
vt_start_game
vt_wait_started
sleep 1  # a few frames under the software renderer

title=$(shot title)
check covered "$title"

vt_key space
sleep 1
menu=$(shot menu)
check menu "$title" "$menu"

# The console turns the key trace on (which paces the keys from here on) and
# takes the command that builds a new terrain and hides the title; then the
# console and the menu are put away.
vt_key grave
vt_type "set keydump 1;terrain"
vt_key Return
vt_key grave Escape
sleep 1
# The camera stands just above the ground near the field's left edge. Turned
# towards the field's far right corner (dragging the pointer left by half the
# window turns the view by 45 degrees) and looking a little down (107 pixels
# up: 20 degrees), it sees ground over the whole lower part of the view.
drag() {
    xdotool mousemove --window "$VT_WINDOW" "$1" "$2" mousedown 1
    sleep 0.2
    xdotool mousemove --window "$VT_WINDOW" "$3" "$4"
    sleep 0.2
    xdotool mouseup 1
    sleep 1
}
drag 480 300 160 193
ground=$(shot ground)
check terrain "$ground"

# Fly up to the ceiling and look straight down: 373 pixels more pitch the view
# down by 90 degrees in all, which brings most of the field into view.
vt_hold_until_still Prior 60
drag 320 440 320 67
# Unlit, the bands show in their own colours: no slope is in shadow.
vt_key grave
vt_type "set lighting 0"
vt_key Return grave
sleep 1
terrain=$(shot terrain)
check bands "$terrain"
# From the ceiling the view reaches past the field; round it lies the sky's
# floor, so nowhere does the clear colour show through.
check noblack "$terrain"

vt_key grave
vt_type "set wireframe 1"
vt_key Return grave
sleep 1
wireframe=$(shot wireframe)
check differ "$terrain" "$wireframe" 0.2

# Filled again, and back over the field's corner (the view is turned by 45
# degrees, so backwards is towards x = 0, z = 200): straight down past the edge
# no hill can hide the ground outside the field, and all of it must be the
# sky's floor or its wall, not the clear colour under an open sky.
vt_key grave
vt_type "set wireframe 0"
vt_key Return grave
vt_hold_until_still Down 60
sleep 1
corner=$(shot corner)
check noblack "$corner"

vt_game_running || vt_fail "vantrell is not running after the checks"
echo "render: ok"
