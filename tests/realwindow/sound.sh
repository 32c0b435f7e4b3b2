#!/usr/bin/env bash
# The game's sound, heard through OpenAL Soft's wave backend, which writes what
# it plays to a file in real time: a 3-player game, the camera turned so that
# Player 1 stands on its left, and one Nuke dropped at Player 1's own feet. The
# recording must be silent until the shot, carry the launch, be loud after the
# burst, and louder in the left channel than in the right. Three players, so the
# one death leaves the game undecided: no result fanfare, which plays inside the
# head, evens out the channels.
source "$(dirname "$0")/harness.sh"

wav=$VT_WORK/sound.wav
printf '[general]\ndrivers = wave\nchannels = stereo\nfrequency = 22050\n[wave]\nfile = %s\n' \
    "$wav" >"$VT_WORK/alsoft.conf"
export ALSOFT_CONF=$VT_WORK/alsoft.conf

fail() {
    cp "$VT_STDOUT" "$VT_OUT/sound-stdout.txt" 2>/dev/null
    cp "$wav" "$VT_OUT/sound.wav" 2>/dev/null
    vt_fail "$@"
}

output_lines() { wc -l <"$VT_STDOUT"; }

# Waits for a line matching REGEX that comes after the first LINES lines.
wait_after() {
    local lines=$1 regex=$2 seconds=${3:-30} i
    for i in $(seq 1 $((seconds * 10))); do
        tail -n +"$((lines + 1))" "$VT_STDOUT" | grep -qE -- "$regex" && return 0
        sleep 0.1
    done
    fail "no line matching /$regex/ after line $lines within ${seconds}s"
}

wait_count() {
    local regex=$1 count=$2 seconds=${3:-30} i
    for i in $(seq 1 $((seconds * 10))); do
        [ "$(grep -cE -- "$regex" "$VT_STDOUT")" -ge "$count" ] && return 0
        sleep 0.1
    done
    fail "fewer than $count lines matching /$regex/ within ${seconds}s"
}

# Types a command into the console: one xdotool for the whole line, each key
# pressed and released at once and 0.1 s apart, so neither a slow start of a
# process (the console's own repeat would type a held key again) nor a doubled
# letter (GLUT takes a release and a press at one moment for a held key) can
# change what arrives.
console_command() {
    local i c keys=(grave)
    for ((i = 0; i < ${#1}; i++)); do
        c=${1:i:1}
        case $c in
        " ") c=space ;;
        ";") c=semicolon ;;
        esac
        keys+=("$c")
    done
    xdotool key --delay 100 "${keys[@]}" Return grave
    sleep 0.2
}

bytes() { stat -c %s "$wav"; }

vt_start_xvfb
vt_start_game
vt_wait_line "end GameCore::GameCore()" 60
[ -s "$wav" ] || fail "OpenAL wrote no wave file"
! grep -q '^Sound:' "$VT_STDERR" || fail "the game played without sound: $(cat "$VT_STDERR")"

# The main menu's second entry: a fresh terrain and three players; Esc closes
# the menu.
vt_key space
vt_key Down Return
vt_wait_line 'processCommand: "tanks 3"' 10
vt_key Escape
wait_count '^bounce sphere terrain [0-9]+$' 3 30

# The camera stands at (50, 25, 100); Player 1 at x = 100, z = 175. A drag
# across the window turns the view by 90 degrees: from left to right it looks
# along -x, and Player 1 stands on the left.
xdotool mousemove --window "$VT_WINDOW" 5 240 mousedown 1 sleep 0.1 \
    mousemove --window "$VT_WINDOW" 635 240 sleep 0.1 mouseup 1
sleep 0.3

# Velocity 0 (from 10 at 90 a second) and the Nuke: the shell drops from the
# barrel's tip onto its own tank.
vt_hold f 0.5
vt_key Tab Tab Tab
sleep 1
shot=$(bytes)
start=$(output_lines)
vt_key space
wait_after "$start" '^Activating explosion [0-9]+$' 10
# The explosion grows for 6.4 s to its blast radius of 32, then goes off.
wait_after "$start" '^~Explosion\(\)$' 30
burst=$(bytes)
sleep 2

# quit ends the process through exit(), which closes the device and the file.
console_command "quit"
for i in $(seq 1 100); do
    vt_game_running || break
    sleep 0.1
done
vt_game_running && fail "the game was still running after quit"
VT_GAME_PID=""
[ -s "$VT_STDERR" ] && fail "the game wrote to standard error: $(cat "$VT_STDERR")"

cp "$wav" "$VT_OUT/sound.wav"
"$VT_SOUNDCHECK" burst "$wav" "$shot" "$burst" || fail "the recording is not what was played"
echo "sound: ok"
