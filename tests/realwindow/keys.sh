#!/usr/bin/env bash
# Keys held as a person holds them, on a server that repeats held keys: one
# press of Space is one shot however long it is held, one press of Tab one step
# along the weapon bar; a key let go while Shift is down is let go, as the key
# it went down as (X reports the shifted character), in play and on the
# console; a key held while another window takes the keyboard is let go. The
# unit tests take the aim texts through a change of turn.
source "$(dirname "$0")/harness.sh"

shot() { vt_screenshot "keys-$1"; }

# The heads-up line "Angle: N", second from the bottom of the 16-pixel lines.
angle_mask() { vt_text_mask "$1" "$2" 160 16 0 16; }

vt_start_xvfb
vt_check_key_repeat
vt_start_game
vt_wait_started

# The keys traced, a 2-player game on fresh ground, and the menu closed. The
# camera stays put, so only the keys change the picture.
vt_trace_keys
vt_key grave
vt_type "set follow 0;terrain;tanks 2"
vt_key Return grave Escape
vt_wait 0 '^bounce sphere terrain [0-9]+$' 30 2
sleep 0.5
angle_mask "$(shot 01-start)" "$VT_OUT/keys-01-angle.png"

# a held, Shift pressed, a let go: X reports the release as 'A', and the game
# must let go of 'a'. The turret turns while a is down and must stop with its
# release.
xdotool keydown a sleep 0.5 keydown shift sleep 0.1 keyup a sleep 0.1 keyup shift
vt_wait_line "KEYUP: 97 = 'a'" 5
sleep 0.2
angle_mask "$(shot 02-released)" "$VT_OUT/keys-02-angle.png"
sleep 1
angle_mask "$(shot 03-second-later)" "$VT_OUT/keys-03-angle.png"
turned=$(vt_pixels_changed "$VT_OUT/keys-01-angle.png" "$VT_OUT/keys-02-angle.png" 0)
drifted=$(vt_pixels_changed "$VT_OUT/keys-02-angle.png" "$VT_OUT/keys-03-angle.png" 0)
echo "angle text: $turned pixels changed while a was held, $drifted in the second after its release"
[ "$turned" -ge 10 ] || vt_fail "the angle text did not change while a was held"
[ "$drifted" -eq 0 ] || vt_fail "the turret went on turning after a was let go with Shift down"

# On the console: 1 held, Shift pressed, 1 let go (X reports '!'), Shift let go.
# The console must stop typing 1, and the next press of 1 must type one more.
vt_key grave
start=$(vt_lines)
xdotool keydown 1 sleep 0.2 keydown shift sleep 0.1 keyup 1 sleep 0.1 keyup shift sleep 1.5
released=$(vt_count_after "$start" "^KEYUP: 49 = '1'$")
vt_key 1 Return
vt_wait "$start" '^processCommand: ' 5
typed=$(tail -n +"$((start + 1))" "$VT_STDOUT" | grep -a '^processCommand: ')
vt_key grave
echo "console: 1 let go under Shift reached the game as $released release of 1; then $typed"
[ "$released" -eq 1 ] && [ "$typed" = 'processCommand: "11"' ] ||
    vt_fail "the console went on typing 1 after it was let go under Shift"

# Holds KEY for SECONDS and lets go; HELD is how many lines the trace held
# before the press, and the trace is read half a second after the release. With
# a third argument the game is stopped for that long just before the release, as
# a late frame would hold it up: the repeats queued meanwhile must not turn into
# presses once the key is up.
hold_key() {
    HELD=$(vt_lines)
    xdotool keydown "$1" sleep "$2"
    [ -z "${3:-}" ] || { kill -STOP "$VT_GAME_PID" && sleep "$3"; }
    xdotool keyup "$1"
    kill -CONT "$VT_GAME_PID"
    sleep 0.5
}

# Space held for 1.5 s: one press and one shot, none more with the release.
hold_key space 1.5
presses=$(vt_count_after "$HELD" '^KEYDOWN: 32 ')
shots=$(vt_count_after "$HELD" '^Explosive\(\)$')
echo "Space held 1.5 s: $presses presses, $shots shots"
[ "$presses" -eq 1 ] && [ "$shots" -eq 1 ] ||
    vt_fail "holding Space gave $presses presses and $shots shots, not one of each"

# Tab held for 1.5 s, the game stopped 0.4 s at the release: one press, one step
# along the bar. The bar's 32-pixel icons start at the window's left edge; the
# highlight leaves the first icon for the second.
bar_before=$(shot 05-bar-before)
hold_key Tab 1.5 0.4
bar_after=$(shot 06-bar-after)
presses=$(vt_count_after "$HELD" '^KEYDOWN: 9 ')
echo "Tab held 1.5 s: $presses presses"
[ "$presses" -eq 1 ] || vt_fail "holding Tab gave $presses presses, not 1"
# The icons with more than 20 pixels changed inside their cells, which are
# clear of the screenshot's missing top row and of each other's edges.
changed=$(compare -fuzz 3% "$bar_before" "$bar_after" -compose src -highlight-color white \
    -lowlight-color black miff:- | convert - -crop 192x28+0+1 +repage -crop 32x28 +repage \
    -shave 2x0 -format '%[fx:mean*w*h] ' info: | awk '{ for (i = 1; i <= NF; i++) if ($i > 20) printf " %d", i - 1 }')
echo "weapon bar: icons changed:${changed:- none}"
[ "$changed" = " 0 1" ] || vt_fail "the highlight did not move one icon on"

# a held, then the keyboard goes to another window: the root window, with the
# pointer off the game's (the root passes keys on to the window under the
# pointer). The game must let go of a at once, as its release would, though the
# key is still down; the turret must stop.
start=$(vt_lines)
xdotool keydown a sleep 0.5 mousemove 1000 700 \
    windowfocus --sync "$(xwininfo -root | awk '/Window id:/ { print $4 }')"
vt_wait "$start" "^KEYUP: 97 = 'a'$" 5
sleep 0.2
still1=$(shot 07-focus-lost)
sleep 1
still2=$(shot 08-focus-lost-later)
xdotool mousemove --window "$VT_WINDOW" 320 240 windowfocus --sync "$VT_WINDOW" keyup a
changed=$(vt_pixels_changed "$still1" "$still2" 0)
echo "focus lost with a down: $changed pixels changed in the second after"
[ "$changed" -eq 0 ] || vt_fail "the picture went on changing after the focus was lost"

vt_game_running || vt_fail "vantrell is not running after the checks"
echo "keys: ok"
