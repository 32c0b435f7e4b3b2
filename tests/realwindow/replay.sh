#!/usr/bin/env bash
# Replays in the real window:
#   1. A game against the computer, played with keys through the X test
#      extension (a Death's Head among the shots), ended with "quit"; its replay,
#      played with --fast, writes the very same trace from the game's start
#      (the key that chose it) to the end, and stays open on its last frame,
#      saying so on standard error.
#   2. A game killed with SIGKILL in the middle of a turn: its replay is the
#      start of the game's trace, to at least the last shot fired.
# The standard output of a replay is the game's from its start: what came
# before (the title, the menu) is played silently.
source "$(dirname "$0")/harness.sh"

# The trace from the game's start on: the key whose menu line ran "terrain"
# (with the key trace on, its line comes first), then everything after it.
game_part() {
    local at keyline=${2:-1}
    at=$(grep -anxF 'processCommand: "terrain"' "$1" | head -n 1 | cut -d: -f1)
    [ -n "$at" ] || vt_fail "no game start in $1"
    tail -n +"$((at - keyline))" "$1"
}

# Plays REPLAY with --fast until it says it has finished, then ends it; its
# standard output goes to OUT.
play_replay() {
    vt_start_game --replay "$1" --fast
    vt_wait_replayed 30
    vt_game_running || vt_fail "the replay did not stay on its last frame"
    kill "$VT_GAME_PID" && wait "$VT_GAME_PID" 2>/dev/null
    VT_GAME_PID=""
    cp "$VT_STDOUT" "$2"
}

newest_replay() { ls "$VT_REPLAYS"/*.vtr 2>/dev/null | tail -n 1; }

vt_start_xvfb

# 1. "You vs Computer": the fourth line of the menu. Player 1 fires a Baby
# Missile, the computer answers, then Player 1 takes the Death's Head (five
# Tabs) and fires it level, so that it splits at once and its nine come down
# close by (they may well end the game).
vt_start_game
vt_wait_started
vt_trace_keys
start=$(vt_lines)
vt_key Down Down Down Return
vt_wait "$start" '^processCommand: "computers 1"$' 10
vt_key Escape
vt_wait "$start" '^bounce sphere terrain [0-9]+$' 30 2
vt_key space
vt_wait "$start" '^Explosive\(\)$' 30 2
vt_key Tab Tab Tab Tab Tab space
# The two shells, then the nine baby nukes of the Death's Head.
vt_wait "$start" '^Activating explosion [0-9]+$' 30 11
vt_console quit
vt_wait_exit 10
cp "$VT_STDOUT" "$VT_WORK/played.txt"
replay=$(newest_replay)
[ -n "$replay" ] || vt_fail "no replay in $VT_REPLAYS"
[ "$(ls "$VT_REPLAYS" | wc -l)" -eq 1 ] || vt_fail "not one replay for one game: $(ls "$VT_REPLAYS")"

play_replay "$replay" "$VT_WORK/replayed.txt"
# The start-up lines are the program's, the same in both; then the game. The
# game's own trace ends with Return on "quit", whose key is never recorded.
startup=$(grep -anxF 'end GameCore::GameCore()' "$VT_WORK/replayed.txt" | head -n 1 | cut -d: -f1)
cmp -s <(head -n "$startup" "$VT_WORK/played.txt") <(head -n "$startup" "$VT_WORK/replayed.txt") ||
    vt_fail "the replay's start-up lines differ from the game's"
game_part "$VT_WORK/played.txt" | head -n -2 >"$VT_WORK/played-game.txt"
tail -n +"$((startup + 1))" "$VT_WORK/replayed.txt" >"$VT_WORK/replayed-game.txt"
[ "$(game_part "$VT_WORK/played.txt" | tail -n 1)" = 'processCommand: "quit"' ] ||
    vt_fail "the game did not end on quit"
if ! cmp -s "$VT_WORK/played-game.txt" "$VT_WORK/replayed-game.txt"; then
    cp "$VT_WORK/played-game.txt" "$VT_WORK/replayed-game.txt" "$VT_OUT/"
    vt_fail "the replay's trace differs from the game's: $(diff "$VT_WORK/played-game.txt" \
        "$VT_WORK/replayed-game.txt" | head -n 5)"
fi
echo "replayed $(wc -l <"$VT_WORK/replayed-game.txt") lines of the game's trace exactly"

# 2. "2 Players", a shot fired while the tanks still fall, and the next
# player's aim cut short by SIGKILL. The key trace stays off: no key comes twice
# in a row, so none needs pacing.
vt_start_game
vt_wait_started
start=$(vt_lines)
vt_key Escape Return
vt_wait "$start" '^processCommand: "tanks 2"$' 10
vt_key Escape space
vt_wait "$start" '^Explosive\(\)$' 10
xdotool keydown a
sleep 0.4
kill -KILL "$VT_GAME_PID"
wait "$VT_GAME_PID" 2>/dev/null
VT_GAME_PID=""
xdotool keyup a
cp "$VT_STDOUT" "$VT_WORK/killed.txt"
replay=$(newest_replay)
play_replay "$replay" "$VT_WORK/replayed-killed.txt"
tail -n +"$((startup + 1))" "$VT_WORK/replayed-killed.txt" >"$VT_WORK/replayed-game.txt"
lines=$(wc -l <"$VT_WORK/replayed-game.txt")
cmp -s <(game_part "$VT_WORK/killed.txt" 0 | head -n "$lines") "$VT_WORK/replayed-game.txt" ||
    vt_fail "the killed game's replay is not the start of its trace"
grep -aq '^Explosive()$' "$VT_WORK/replayed-game.txt" ||
    vt_fail "the killed game's replay stops before its shot"
echo "the killed game's replay played $lines of its $(game_part "$VT_WORK/killed.txt" 0 | wc -l) lines"
