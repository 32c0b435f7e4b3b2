#!/usr/bin/env bash
# A game's result is written across the middle once, and kept there until Esc.
# Starting a new game from the menu keeps it too, and the menu offers no way
# back to the game but Esc, which takes the old result away: so every way from
# a finished game into a new one ends with the new game bare, and with its own
# result when it ends. Before the first game there is no result to keep. The main menu is walked to
# the end to see that it shows just eight lines (the five game starts, Host and
# Join a Network Game, and More), the last of which leads to Quit.
source "$(dirname "$0")/harness.sh"

shot() { vt_screenshot "result-$1"; }

# "Player N wins!" is centred on whole pairs of characters: the digit's glyph
# lies at x 320 to 336 of the window and 232 to 248 up from its bottom.
digit_mask() { vt_text_mask "$1" "$2" 16 16 319 232; }

vt_start_xvfb
vt_start_game
vt_wait_started

# On the title: Esc opens the menu (and the key trace is turned on, which
# paces the keys from here on), Esc closes it and lets a result be announced,
# though nobody has played, Esc opens the menu again. "2 Players" raises new
# ground and two tanks, and the menu is put away without Esc, which would take
# a result away: the new game stands bare.
vt_trace_keys
start=$(vt_lines)
vt_key Escape Escape Return
vt_wait "$start" '^processCommand: "tanks 2"$' 10
vt_console "set menu 0"
sleep 0.5
vt_expect_message no "title, Esc, Esc, Esc, 2 Players" "$(shot 01-from-title)"

# One tank left: "Player 1 wins!".
vt_console "tanks 1"
sleep 0.5
won=$(shot 02-player-1-wins)
vt_expect_message yes "one tank left" "$won"
digit_mask "$won" "$VT_OUT/result-digit-1.png"

# From the decided game into a 2-player game, the menu's first line (the other
# game starts are menu lines like it). Esc lets the result go and announces it
# again (still one tank), so it stands latched over the new game while the menu
# is up. The game is played to its end: Player 1 drops a Nuke (the fourth
# weapon) at its own feet, velocity 0, and Player 2 is announced.
start=$(vt_lines)
vt_key Escape Return
vt_wait "$start" '^processCommand: "tanks 2"$' 10
vt_key Escape
sleep 0.5
vt_expect_message no "one tank left, Esc, 2 Players, Esc" "$(shot 03-2-players)"
vt_wait "$start" '^bounce sphere terrain [0-9]+$' 30 2
vt_key Tab Tab Tab
vt_hold f 1.5
start=$(vt_lines)
vt_key space
vt_wait "$start" '^TankObject::damageEvent\(.*\) health = 0$' 30
sleep 0.5
won=$(shot 04-player-2-wins)
vt_expect_message yes "Player 1 blown up" "$won"
digit_mask "$won" "$VT_OUT/result-digit-2.png"
digit=$(vt_pixels_changed "$VT_OUT/result-digit-1.png" "$VT_OUT/result-digit-2.png" 0)
echo "the winner's digit: $digit pixels differ from Player 1's"
[ "$digit" -ge 10 ] || vt_fail "the result still names Player 1, not the new winner"

# The main menu, walked from the top with the last game's result standing over
# a new one: its first line starts a game, its eighth and last leads on to the
# page whose Quit ends the game (what the
# others run is the menu file's, checked with the data pack). Eight lines of 32
# pixels centred on the window's middle put the first line in rows 111 to 142
# of the screenshot (nine would put it 16 higher). How many rows of a glyph are
# pure red depends a little on the scene behind, so the rows are compared
# within a few.
vt_key Escape
sleep 0.3
read -r top0 left0 right0 <<<"$(vt_red_line "$(shot 05-menu-first)")"
echo "first line: red from row $top0, columns $left0 to $right0"
[ "$top0" -ge 109 ] && [ "$top0" -le 124 ] || vt_fail "the main menu is not eight lines high"
start=$(vt_lines)
vt_key Return
vt_wait "$start" '^processCommand: "tanks 2"$' 10
vt_key Escape Escape Down Down Down Down Down Down Down
read -r top7 left7 right7 <<<"$(vt_red_line "$(shot 06-menu-eighth)")"
vt_key Down
read -r top8 _ _ <<<"$(vt_red_line "$(shot 07-menu-past-eighth)")"
echo "eighth line: red from row $top7, columns $left7 to $right7; one Down more: row $top8"
near() { [ "$1" -ge $(($2 - $3)) ] && [ "$1" -le $(($2 + $3)) ]; }
near "$top7" $((top0 + 224)) 6 || vt_fail "seven Downs did not move the selection seven lines"
near "$top8" "$top7" 4 || vt_fail "the main menu goes on past its eighth line"
# "More": four 32-pixel glyphs from the block's left edge. Its page's third
# line is "Quit".
near "$left7" "$left0" 8 && [ $((right7 - left0)) -lt 128 ] ||
    vt_fail "the eighth line is not four characters long"
start=$(vt_lines)
vt_key Return
vt_wait "$start" '^processCommand: "menu more"$' 10
vt_key Down Down Return
vt_wait "$start" '^processCommand: "quit"$' 10
vt_wait_exit 30
[ "$VT_GAME_STATUS" -eq 0 ] || vt_fail "Quit ended the game with status $VT_GAME_STATUS"
echo "result: ok"
