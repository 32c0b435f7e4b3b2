#!/usr/bin/env bash
# Computer players in the real window, two games in one run of the game:
#   1. "You vs Computer" from the main menu: the computer fires within five
#      seconds of the person, its aim moving in the heads-up texts on the way;
#   2. "terrain;tanks 2;computers 2 hard" from the console (hard ones end it
#      sooner), then Esc: a whole game to its result with no key pressed but
#      Esc twice while the first computer aims: no shot and no move while the
#      menu is up, and the shot soon after it closes.
# The person's game comes first: the launch velocity and the weapon are the
# game's, not a tank's, so a person in a later game would start with the last
# computer's and might hit itself.
# The game simulates at most a quarter second an update, so below four frames a
# second its clock falls behind the wall's. A game built with the sanitizers
# draws about ten on an idle machine and fewer on a loaded one: its whole game
# is given twice as long.
source "$(dirname "$0")/harness.sh"

shots_after() { vt_count_after "$1" '^Explosive\(\)$'; }
now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

# The heads-up block in the bottom left corner (name, angle, elevation,
# velocity, health) alone: quicker to take than the whole window.
hud_shot() {
    local file="$VT_OUT/computers-$1.png"
    import -window "$VT_WINDOW" -crop 320x80+0+400 +repage "$file" 2>/dev/null ||
        vt_fail "screenshot $1 failed"
    echo "$file"
}
# Pixels that differ between the near-white text of the angle, elevation and
# velocity lines of two heads-up shots, so the scene behind does not count.
aim_text_differs() {
    convert "$1" -crop 320x48+0+16 +repage -colorspace gray -threshold 90% "$VT_WORK/a.png"
    convert "$2" -crop 320x48+0+16 +repage -colorspace gray -threshold 90% "$VT_WORK/b.png"
    vt_pixels_changed "$VT_WORK/a.png" "$VT_WORK/b.png" 0
}

whole_game=180
ldd "$VT_GAME_DIR/vantrell" | grep -q libasan && whole_game=360

vt_start_xvfb
vt_start_game
vt_wait_started
vt_trace_keys # the menu is left open

# 1. The menu's fourth line, "You vs Computer"; Esc to play once both tanks have
# landed. Both players start with the same aim texts, so Player 1's are the
# computer's before it moves.
start=$(vt_lines)
vt_key Down Down Down Return
vt_wait "$start" '^processCommand: "computers 1"$' 10
vt_key Escape
vt_wait "$start" '^bounce sphere terrain [0-9]+$' 30 2
sleep 0.5
baseline=$(hud_shot person)
start=$(vt_lines)
vt_key space
shot=$(now)
vt_wait "$start" '^Explosive\(\)$' 5
last=""
n=0
while [ "$(shots_after "$start")" -lt 2 ] && [ "$n" -lt 30 ]; do
    n=$((n + 1))
    file=$(hud_shot "aim-$n")
    [ "$(shots_after "$start")" -lt 2 ] && last=$file
    sleep 0.3 # leaves the machine to the game
done
vt_wait "$start" '^Explosive\(\)$' 10 2
took=$(since "$shot")
echo "the computer fired ${took}s after the person"
awk -v t="$took" 'BEGIN { exit !(t < 5.0) }' || vt_fail "the computer took ${took}s to fire"
[ -n "$last" ] || vt_fail "no screenshot while the computer aimed"
moved=$(aim_text_differs "$baseline" "$last")
echo "its aim texts while it aimed: $moved pixels changed"
[ "$moved" -ge 20 ] || vt_fail "the computer's aim did not show in the heads-up texts"
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
begun=$(now)
# Esc a second after the tanks have landed: the first computer thought while
# they fell and is aiming now, for two seconds at least, since it first turns
# its turret half round towards the other tank.
vt_wait "$start" '^bounce sphere terrain [0-9]+$' 30 2
sleep 1
vt_key Escape
[ "$(shots_after "$start")" -eq 0 ] || vt_fail "the computer fired before Esc"
paused=$(vt_lines)
held=$(hud_shot paused)
sleep 5
[ "$(shots_after "$paused")" -eq 0 ] || vt_fail "the computer fired while the menu was up"
[ "$(aim_text_differs "$held" "$(hud_shot paused-later)")" -lt 20 ] ||
    vt_fail "the computer's aim moved while the menu was up"
vt_key Escape
resumed=$(now)
vt_wait "$paused" '^Explosive\(\)$' 10
echo "the computer fired $(since "$resumed")s after the menu closed"
vt_wait "$start" '^TankObject::damageEvent\(.*\) health = 0$' "$whole_game"
echo "a computer died $(since "$begun")s after the game began"
sleep 1.5
shown=$(vt_message_pixels "$(vt_screenshot computers-result)")
echo "the result: $shown white pixels in the message band"
[ "$shown" -ge 100 ] || vt_fail "no result written across the middle"
echo "computers: ok"
