#!/usr/bin/env bash
# The same scene gives the same picture: with the calendar clock standing still
# the game makes the same terrain and places the same four tanks every run, and
# a fixed camera looking down on them, the heads-up texts, the weapon bar and
# the console over it all make a picture that must match reference/scene.png
# within 16 pixels (a pixel counts when a channel is off by more than 2 %): the
# few a driver may round differently, nothing a person could see. No OpenGL
# error may be reported meanwhile. After a deliberate change of what the scene
# shows, the new picture (scene.png in $VT_OUT) becomes the reference.
source "$(dirname "$0")/harness.sh"

reference=$VT_HERE/reference/scene.png
vt_on_fail() {
    [ -f "$VT_OUT/scene.png" ] &&
        compare -fuzz 2% "$reference" "$VT_OUT/scene.png" "$VT_OUT/scene-difference.png" 2>/dev/null
}

vt_start_xvfb
VT_FROZEN_DATE="2026-01-01 00:00:00"
vt_start_game
vt_wait_started
vt_trace_keys
vt_console "set follow 0"
# The menu's third line: new ground and four tanks.
start=$(vt_lines)
vt_key Down Down Return
vt_wait "$start" '^processCommand: "tanks 4"$' 10
vt_key Escape
vt_wait "$start" '^bounce sphere terrain [0-9]+$' 30 4
# 150 pixels up: the camera looks down some 28 degrees, at the near hills and a tank.
vt_drag 320 340 320 190
# The tanks have come to rest when two pictures half a second apart are the same
# (however slowly a sanitized game draws).
settling=$(vt_screenshot scene-settling)
for _ in $(seq 1 60); do
    sleep 0.5
    [ "$(vt_pixels_changed "$settling" "$(vt_screenshot scene)" 0)" = 0 ] && break
    cp "$VT_OUT/scene.png" "$settling"
done
vt_key grave
sleep 1
shot=$(vt_screenshot scene)
differing=$(vt_pixels_changed "$reference" "$shot" 2%)
echo "pixels differing from the reference: $differing"
[ -n "$differing" ] && [ "$differing" -le 16 ] ||
    vt_fail "the scene differs from the reference in ${differing:-all} pixels (see scene-difference.png)"
! grep -q 'OpenGL error' "$VT_STDERR" || vt_fail "$(grep -m 1 'OpenGL error' "$VT_STDERR")"
