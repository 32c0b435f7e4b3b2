#!/usr/bin/env bash
# The real binary opens one 640x480 window titled Vantrell and starts up with the
# frame's trace lines in their order.
source "$(dirname "$0")/harness.sh"

vt_start_xvfb
vt_start_game
vt_wait_line "end GameCore::GameCore()" 60

info=$(xwininfo -id "$VT_WINDOW")
echo "$info" | grep -q 'Width: 640' || vt_fail "window width is not 640: $info"
echo "$info" | grep -q 'Height: 480' || vt_fail "window height is not 480: $info"
echo "$info" | grep -q '"Vantrell"' || vt_fail "window title is not Vantrell: $info"

expected=("Window::Window()" "After init" "init display mode" "size" "Doing stuff."
          "Window created." "Display::Display()" "end Display::Display()"
          "GameCore::GameCore()" "end GameCore::GameCore()")
position=0
while IFS= read -r line; do
    if [ "$position" -lt "${#expected[@]}" ] && [ "$line" = "${expected[$position]}" ]; then
        position=$((position + 1))
    fi
done < "$VT_STDOUT"
[ "$position" -eq "${#expected[@]}" ] ||
    vt_fail "start-up lines out of order; missing \"${expected[$position]}\""
[ "$(head -n 6 "$VT_STDOUT" | tr '\n' '|')" = "Window::Window()|After init|init display mode|size|Doing stuff.|Window created.|" ] ||
    vt_fail "the window's lines are not the first six"

vt_game_running || vt_fail "vantrell is not running after start-up"
echo "startup: ok"
