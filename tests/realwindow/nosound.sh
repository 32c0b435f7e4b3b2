#!/usr/bin/env bash
# A game played to its end where no sound can be made: OpenAL is told to use
# only its wave backend, with a file in a folder that does not exist, so no
# device opens. The game must say so in one line on standard error and play on,
# and its standard output must be byte for byte what the game printed for the
# same keys before it had sound: nosound-stdout.txt, recorded from that game
# (a win and a draw, each announced twice, and no shot, so nothing in the trace
# depends on the random terrain). To record it again from a build:
#   VT_GAME_DIR=build/game VT_RECORD=tests/realwindow/nosound-stdout.txt bash nosound.sh
# The window it plays in is the one the game opens: 640 x 480, titled Vantrell
# (the harness finds it by that title).
source "$(dirname "$0")/harness.sh"

expected="$(dirname "$0")/nosound-stdout.txt"
printf '[general]\ndrivers = wave\n[wave]\nfile = %s/no/such/folder/out.wav\n' "$VT_WORK" \
    >"$VT_WORK/alsoft.conf"
export ALSOFT_CONF=$VT_WORK/alsoft.conf

# Types a command into the console with the key trace off: each key pressed
# and released within one xdotool run, keys 0.1 s apart, so neither a slow
# start of a process (the console's own repeat would type a held key again) nor
# a doubled letter (GLUT takes a release and a press at one moment for a held
# key) can change what arrives.
console_command() {
    xdotool key grave
    xdotool type --delay 100 -- "$1"
    xdotool key --delay 100 Return grave
    sleep 0.2
}

vt_start_xvfb
vt_start_game
vt_wait_line "end GameCore::GameCore()" 60
xwininfo -id "$VT_WINDOW" | grep -q -- '-geometry 640x480+' ||
    vt_fail "the window is not 640 x 480: $(xwininfo -id "$VT_WINDOW")"

# The title's menu, then one player on a new terrain: Esc closes the menu and
# clears the latch, so Player 1 wins at once while the tank falls.
vt_key space
console_command "terrain;tanks 1"
vt_wait_line 'processCommand: "tanks 1"' 10
vt_key Escape
vt_wait_line "TankObject::contactEvent" 30
sleep 0.5
# Esc twice: the menu opens and closes, the win is announced again.
vt_key Escape Escape
sleep 0.5
# No players: a draw, announced when Esc clears the latch, and again.
console_command "tanks 0"
vt_wait_line 'processCommand: "tanks 0"' 10
vt_key Escape
sleep 0.5
vt_key Escape
sleep 0.5
console_command "quit"
vt_wait_exit 10
[ "$VT_GAME_STATUS" -eq 0 ] || vt_fail "quit ended the game with status $VT_GAME_STATUS"

[ -n "${VT_RECORD:-}" ] && cp "$VT_STDOUT" "$VT_RECORD" &&
    echo "nosound: recorded $(wc -l <"$VT_RECORD") lines in $VT_RECORD" && exit 0
cmp -s "$expected" "$VT_STDOUT" ||
    vt_fail "standard output differs from the game without sound: $(diff "$expected" "$VT_STDOUT" | head -n 20)"
[ "$(cat "$VT_STDERR")" = "Sound: no audio device could be opened; playing without sound." ] ||
    vt_fail "standard error is not the one line about sound: $(cat "$VT_STDERR")"
echo "nosound: ok"
