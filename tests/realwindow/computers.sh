#!/usr/bin/env bash
# Computer players in the real window, three short games, each in a fresh game:
#   1. "You vs Computer" from the main menu: after the person's shot the computer
#      aims where it can be seen (its heads-up texts move) and fires within five
#      seconds;
#   2. the same game, with Esc pressed while the computer aims: no shot and no
#      move while the menu is up, and the shot soon after it closes;
#   3. two hard computers (the console's "computers 2 hard") play a whole game
#      to its result with no key pressed, within three minutes.
source "$(dirname "$0")/harness.sh"

# The game's trace is kept next to the screenshots however the test ends.
trap 'cp "$VT_STDOUT" "$VT_OUT/computers-stdout.txt" 2>/dev/null; vt_cleanup' EXIT
fail() { vt_fail "$@"; }

output_lines() { wc -l <"$VT_STDOUT"; }

# The number of lines matching REGEX after the first LINES lines.
count_after() {
    tail -n +"$(($1 + 1))" "$VT_STDOUT" | grep -cE -- "$2"
}

# Waits until COUNT lines matching REGEX came after the first LINES lines; false
# when SECONDS pass first.
wait_count_after() {
    local lines=$1 regex=$2 count=$3 seconds=$4 i
    for i in $(seq 1 $((seconds * 10))); do
        [ "$(count_after "$lines" "$regex")" -ge "$count" ] && return 0
        sleep 0.1
    done
    return 1
}

now() { date +%s.%N; }
elapsed_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

# A screenshot of the heads-up block in the bottom left corner alone (name,
# angle, elevation, velocity, health): smaller and quicker than a whole one.
hud_shot() {
    local file="$VT_OUT/$1.png"
    import -window "$VT_WINDOW" -crop 320x80+0+400 +repage "$file" 2>/dev/null ||
        fail "screenshot $1 failed"
    echo "$file"
}

# The pixels of the angle, elevation and velocity lines of two heads-up
# screenshots whose text differs: near-white only, so the scene behind the text
# does not count.
aim_text_changed() {
    local a=$VT_WORK/aim-a.png b=$VT_WORK/aim-b.png
    convert "$1" -crop 320x48+0+16 +repage -colorspace gray -threshold 90% "$a"
    convert "$2" -crop 320x48+0+16 +repage -colorspace gray -threshold 90% "$b"
    pixels_changed "$a" "$b"
}

pixels_changed() {
    compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 | awk '{ print int($1) }'
}

# Near-white pixels in the band across the middle where the result is written.
message_pixels() {
    convert "$1" -crop 640x40+0+220 +repage -fx '(r>0.97&&g>0.97&&b>0.97)?1:0' \
        -format '%[fx:round(mean*w*h)]' info:
}

# A fresh game process, up to the title.
restart_game() {
    if [ -n "$VT_GAME_PID" ] && kill -0 "$VT_GAME_PID" 2>/dev/null; then
        kill "$VT_GAME_PID"
        wait "$VT_GAME_PID" 2>/dev/null
    fi
    VT_GAME_PID=""
    vt_start_game
    vt_wait_line "end GameCore::GameCore()" 60
    sleep 0.5
}

# From the title: the main menu's fourth option, "You vs Computer"; Esc to play.
# Returns once both tanks have landed.
start_versus() {
    vt_key space
    sleep 0.3
    vt_key Down Down Down Return
    vt_wait_line 'processCommand: "computers 1"' 10
    vt_key Escape
    wait_count_after 0 '^bounce sphere terrain [0-9]+$' 2 30 || fail "the tanks did not land"
    sleep 0.5
}

vt_start_xvfb

# 1. After the person's shot the computer aims in sight and fires within 5 s.
# Both players start with the turret and barrel level and the velocity at 10,
# so Player 1's aim texts are also what Player 2's show before it moves.
restart_game
start_versus
baseline=$(hud_shot computers-1-person)
start=$(output_lines)
vt_key space # Player 1's Baby Missile, a few units ahead of it
shot=$(now)
wait_count_after "$start" '^Explosive\(\)$' 1 5 || fail "the person's shot did not leave"
# Screenshots of the heads-up texts until the computer fires, those taken wholly
# before its shot kept.
shots=()
n=0
while [ "$(count_after "$start" '^Explosive\(\)$')" -lt 2 ] && [ "$n" -lt 40 ]; do
    n=$((n + 1))
    file=$(hud_shot "computers-1-aim-$(printf %02d "$n")")
    [ "$(count_after "$start" '^Explosive\(\)$')" -lt 2 ] && shots+=("$file")
    sleep 0.3 # leaves the machine to the game and to tests running beside this one
done
wait_count_after "$start" '^Explosive\(\)$' 2 8 || fail "the computer did not fire"
took=$(elapsed_since "$shot")
echo "the computer fired ${took}s after the person; ${#shots[@]} screenshots of its turn"
awk -v t="$took" 'BEGIN { exit !(t < 5.0) }' || fail "the computer took ${took}s to fire"
# The last screenshot of its turn shows its aim moved from where it started.
[ "${#shots[@]}" -ge 1 ] || fail "no screenshot during the computer's turn"
moved=$(aim_text_changed "$baseline" "${shots[${#shots[@]} - 1]}")
echo "heads-up aim texts during the computer's turn: $moved pixels changed"
[ "$moved" -ge 20 ] || fail "the computer's aim did not show in the heads-up texts"
grep -v '^processCommand: ' "$VT_STDOUT" | grep -qi 'computer' &&
    fail "a trace line about the computer on standard output"

# 2. Esc while it aims (its pause to think is 0.7 s, its aim takes seconds)
# holds its turn until the menu closes again.
restart_game
start_versus
start=$(output_lines)
vt_key space
wait_count_after "$start" '^Explosive\(\)$' 1 5 || fail "the person's shot did not leave"
sleep 1.5
vt_key Escape
paused=$(output_lines)
[ "$(count_after "$start" '^Explosive\(\)$')" -eq 1 ] || fail "the computer fired before Esc"
held=$(hud_shot computers-2-paused)
sleep 5
still=$(hud_shot computers-2-paused-later)
[ "$(count_after "$paused" '^Explosive\(\)$')" -eq 0 ] || fail "the computer fired while the menu was up"
[ "$(pixels_changed "$held" "$still")" -lt 20 ] || fail "the computer's aim moved while the menu was up"
vt_key Escape
resumed=$(now)
wait_count_after "$paused" '^Explosive\(\)$' 1 8 || fail "the computer did not fire after the menu closed"
echo "the computer fired $(elapsed_since "$resumed")s after the menu closed"

# 3. Two hard computers play a whole game with nobody touching a key: "You vs
# Computer" from the menu, then the console gives the first player to the
# computer as well.
restart_game
vt_key space
sleep 0.3
vt_key Down Down Down Return
vt_wait_line 'processCommand: "computers 1"' 10
vt_key grave
vt_type "computers 2 hard"
vt_key Return
vt_key grave
vt_wait_line 'processCommand: "computers 2 hard"' 10
vt_key Escape # closes the menu and clears the title's result latch
wait_count_after 0 '^bounce sphere terrain [0-9]+$' 2 30 || fail "the tanks did not land"
sleep 0.5
before=$(vt_screenshot computers-3-landed)
begun=$(now)
vt_wait_match '^TankObject::damageEvent\(.*\) health = 0$' 180
echo "a computer died $(elapsed_since "$begun")s after the tanks landed"
sleep 1.5
after=$(vt_screenshot computers-3-result)
shown=$(message_pixels "$after")
echo "message band: $shown white pixels at the end, $(message_pixels "$before") before"
[ "$shown" -ge $(($(message_pixels "$before") + 100)) ] || fail "no result written across the middle"
echo "computers: ok"
