#!/usr/bin/env bash
# What a player sees, checked on real pixels: the title picture fills the window;
# a key brings up the menu in the middle with its selected line in red; with the
# title gone the terrain fills the lower part of the view, and from above it
# shows its three ground bands; wireframe drawing changes the picture. The
# screenshots stay in $VT_OUT.
source "$(dirname "$0")/harness.sh"

shotcheck=${VT_SHOTCHECK:-$VT_BIN_DIR/tests/realwindow/vt_shotcheck}
[ -x "$shotcheck" ] || vt_fail "no screenshot checker at $shotcheck"

# A screenshot in truecolour, whatever palette the grabber chose, for the checker.
shot() {
    local file
    file=$(vt_screenshot "render-$1") || exit 1
    convert "$file" PNG24:"$file" || vt_fail "cannot convert $file"
    echo "$file"
}

check() {
    "$shotcheck" "$@" || vt_fail "screenshot check '$*' failed"
}

vt_start_xvfb
vt_start_game
vt_wait_line "end GameCore::GameCore()" 60
sleep 2  # a few frames under the software renderer

title=$(shot title)
check covered "$title"

vt_key space
sleep 1
menu=$(shot menu)
check menu "$title" "$menu"

# The console takes the command that builds a new terrain and hides the title;
# then the console and the menu are put away.
vt_key grave
vt_type "terrain"
vt_key Return
vt_key grave Escape
sleep 1
# The camera stands just above the ground, which fills the lower part of the view.
ground=$(shot ground)
check terrain "$ground"

# Fly up above the hills and look down on them: dragging the pointer up by 400
# pixels pitches the view down by 75 degrees, which brings most of the field
# into view with a strip of sky at the top.
vt_hold Prior 5
xdotool mousemove --window "$VT_WINDOW" 320 460 mousedown 1
sleep 0.2
xdotool mousemove --window "$VT_WINDOW" 320 60
sleep 0.2
xdotool mouseup 1
sleep 1
terrain=$(shot terrain)
check bands "$terrain"

vt_key grave
vt_type "set wireframe 1"
vt_key Return grave
sleep 1
wireframe=$(shot wireframe)
check differ "$terrain" "$wireframe" 0.2

vt_game_running || vt_fail "vantrell is not running after the checks"
echo "render: ok"
