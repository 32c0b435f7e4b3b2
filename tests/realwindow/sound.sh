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

bytes() { stat -c %s "$wav"; }

vt_start_xvfb
vt_start_game
vt_wait_started
[ -s "$wav" ] || fail "OpenAL wrote no wave file"
! grep -q '^Sound:' "$VT_STDERR" || fail "the game played without sound: $(cat "$VT_STDERR")"

# The main menu's second entry: a fresh terrain and three players; Esc closes
# the menu, and the three tanks fall onto the ground.
vt_trace_keys
vt_key Down Return
vt_wait_line 'processCommand: "tanks 3"' 10
vt_key Escape
for i in $(seq 1 300); do
    [ "$(grep -cE '^bounce sphere terrain [0-9]+$' "$VT_STDOUT")" -ge 3 ] && break
    sleep 0.1
done

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
vt_key grave
vt_type quit
xdotool key Return
vt_wait_exit 10
[ -s "$VT_STDERR" ] && fail "the game wrote to standard error: $(cat "$VT_STDERR")"

cp "$wav" "$VT_OUT/sound.wav"

# Measured with sox. The backend writes 32-bit float stereo frames in real time
# and nothing after them, so a size the file had is a moment of the recording.
frames=$(soxi -V1 -s "$wav") || fail "sox cannot read the recording"
seconds_at() { awk -v b="$1" -v h="$(($(bytes) - frames * 8))" 'BEGIN { print (b - h) / 8 / 22050 }'; }
at() { awk "BEGIN { print $1 }"; }
# Root mean square from $1 to $2 seconds, of channel $3 (1 left, 2 right) or of both.
rms() { sox -V1 "$wav" -n trim "$1" ="$2" ${3:+remix "$3"} stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }'; }
shot=$(seconds_at "$shot")
burst=$(seconds_at "$burst")
# The moments are taken a little after the key press and the trace line; the
# stretches leave room for that.
before=$(rms 0.2 "$(at "$shot - 0.5")")
launch=$(rms "$(at "$shot - 0.3")" "$(at "$shot + 0.6")")
after=$(rms "$(at "$burst - 0.3")" "$(at "$burst + 1.2")")
left=$(rms "$(at "$burst - 0.3")" "$(at "$burst + 1.2")" 1)
right=$(rms "$(at "$burst - 0.3")" "$(at "$burst + 1.2")" 2)
echo "sound: $(at "$frames / 22050") s; shot at $shot s, burst at $burst s; RMS before the shot" \
    "$before, around the shot $launch, after the burst $after (left $left, right $right)"
# Silence is below a sixteenth of a 16-bit step (1.9e-6).
awk -v s="$shot" -v b="$burst" -v n="$frames" -v z="$before" -v l="$launch" -v a="$after" \
    -v left="$left" -v right="$right" 'BEGIN { exit !(s > 1 && b > s && b + 1.2 <= n / 22050 &&
        z < 1.9e-6 && l > 4e-5 && a > 0.02 && left > 2 * right) }' ||
    fail "the recording is not what was played"
echo "sound: ok"
