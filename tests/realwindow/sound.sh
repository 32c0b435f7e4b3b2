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

# The recording is kept beside the screenshots when the test fails.
vt_on_fail() { cp "$wav" "$VT_OUT/sound.wav" 2>/dev/null; }

bytes() { stat -c %s "$wav"; }

vt_start_xvfb
vt_start_game
vt_wait_started
[ -s "$wav" ] || vt_fail "OpenAL wrote no wave file"
! grep -q '^Sound:' "$VT_STDERR" || vt_fail "the game played without sound: $(cat "$VT_STDERR")"

# The main menu's second entry: a fresh terrain and three players; Esc closes
# the menu, and the three tanks fall onto the ground. The camera stays where it
# starts: the directed camera would put the burst in the middle of the picture.
vt_trace_keys
vt_console "set follow 0"
vt_key Down Return
vt_wait_line 'processCommand: "tanks 3"' 10
vt_key Escape
vt_wait 0 '^bounce sphere terrain [0-9]+$' 30 3

# The camera stands at (50, 25, 100); Player 1 at x = 100, z = 175. A drag
# across the window turns the view by 90 degrees: from left to right it looks
# along -x, and Player 1 stands on the left.
vt_drag 5 240 635 240

# Velocity 0 (from 10 at 90 a second) and the Nuke: the shell drops from the
# barrel's tip onto its own tank.
vt_hold f 0.5
vt_key Tab Tab Tab
sleep 1

# Moments of the recording, as the size the file had then. The backend writes
# in real time, but a starved mixer falls behind and catches up later, and a
# sound lands where the mixer is when it starts: so a sound lies after the size
# taken before its cause and before (a mixer's period past) the size taken once
# the game has traced it.
pressed=$(bytes)
start=$(vt_lines)
vt_key space
taken=$(bytes)
vt_wait "$start" '^Activating explosion [0-9]+$' 10
activated=$(bytes)
# The explosion grows for 6.4 s to its blast radius of 32, then goes off: it
# digs its crater, hurts the tank under it and is heard at once.
vt_wait "$start" '^TankObject::damageEvent' 30
hurt=$(bytes)
sleep 2

# quit ends the process through exit(), which closes the device and the file.
vt_key grave
vt_type quit
xdotool key Return
vt_wait_exit 10
[ -s "$VT_STDERR" ] && vt_fail "the game wrote to standard error: $(cat "$VT_STDERR")"
cp "$wav" "$VT_OUT/sound.wav"

# Read with sox as text, a frame a line: seconds, left, right. The backend writes
# 32-bit float stereo frames and nothing after them. Silence is below a
# sixteenth of a 16-bit step; the burst starts where a sample first passes 0.005
# a second after the explosion began to grow, and is measured for 1.5 s.
frames=$(soxi -V1 -s "$wav") || vt_fail "sox cannot read the recording"
sox -V1 "$wav" -t dat - | awk -v header=$(($(bytes) - frames * 8)) -v pressed="$pressed" \
    -v taken="$taken" -v activated="$activated" -v hurt="$hurt" '
    function at(bytes) { return (bytes - header) / 8 / 22050 }
    function rms(sum, n) { return n ? sqrt(sum / n) : 0 }
    BEGIN { p = at(pressed); t = at(taken); a = at(activated) + 1; h = at(hurt); onset = -1 }
    /^;/ { next }
    $1 > 0.2 && $1 < p - 0.2 { before += $2 * $2 + $3 * $3; nb += 2 }
    $1 >= p && $1 < t + 0.6 { launch += $2 * $2 + $3 * $3; nl += 2 }
    onset < 0 && $1 > a && $1 < h + 0.5 && ($2 > 0.005 || $2 < -0.005 || $3 > 0.005 || $3 < -0.005) { onset = $1 }
    onset >= 0 && $1 < onset + 1.5 { left += $2 * $2; right += $3 * $3; na++ }
    END {
        b = rms(before, nb); l = rms(launch, nl); L = rms(left, na); R = rms(right, na)
        printf "sound: %.1f s; shot at %.2f s, burst at %.2f s; RMS before the shot %.7f, around the shot %.5f, after the burst %.4f (left %.4f, right %.4f)\n", $1, p, onset, b, l, rms(left + right, 2 * na), L, R
        exit !(p > 1 && onset > 0 && na >= 1.5 * 22050 - 1 && b < 1.9e-6 && l > 4e-5 && rms(left + right, 2 * na) > 0.02 && L > 2 * R)
    }' || vt_fail "the recording is not what was played"
echo "sound: ok"
