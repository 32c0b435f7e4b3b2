#!/usr/bin/env bash
# Keys held as a person holds them, on a server that repeats held keys: one
# press of Space is one shot however long it is held, one press of Tab one step
# along the weapon bar; a key let go while Shift is down is let go, as the key
# it went down as (X reports the shifted character). The unit tests take that
# release through the console's and the held keys' ways, and the aim texts
# through a change of turn.
source "$(dirname "$0")/harness.sh"

shot() { vt_screenshot "keys-$1"; }

# The heads-up line "Angle: N", second from the bottom of the 16-pixel lines.
angle_mask() { vt_text_mask "$1" "$2" 160 16 0 16; }

vt_start_xvfb
vt_check_key_repeat
vt_start_game
vt_wait_started

# The keys traced, a 2-player game on fresh ground, and the menu closed.
vt_trace_keys
vt_key grave
vt_type "terrain;tanks 2"
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

# Holds KEY for SECONDS, taking note of the trace's length before the press
# and before the release, for held_count and release_count below. With a third
# argument the game is stopped for that long just before the release, as a late
# frame would hold it up: the repeats queued meanwhile must not turn into
# presses once the key is up.
hold_key() {
    HOLD_START=$(vt_lines)
    xdotool keydown "$1" sleep "$2"
    HOLD_RELEASE=$(vt_lines)
    [ -z "${3:-}" ] || { kill -STOP "$VT_GAME_PID" && sleep "$3"; }
    xdotool keyup "$1"
    kill -CONT "$VT_GAME_PID"
    sleep 0.5
}

# Lines matching REGEX traced while the key was held.
held_count() {
    tail -n +"$((HOLD_START + 1))" "$VT_STDOUT" | head -n "$((HOLD_RELEASE - HOLD_START))" |
        grep -cE -- "$1"
}

# Lines matching REGEX traced after the release.
release_count() { vt_count_after "$HOLD_RELEASE" "$1"; }

# Space held for 1.5 s: one press, one shot.
hold_key space 1.5
presses=$(held_count '^KEYDOWN: 32 ')
shots=$(held_count '^Explosive\(\)$')
late=$(release_count '^Explosive\(\)$')
echo "Space held 1.5 s: $presses presses and $shots shots while held, $late shots after the release"
[ "$presses" -eq 1 ] || vt_fail "holding Space gave $presses presses, not 1"
[ "$shots" -eq 1 ] || vt_fail "holding Space fired $shots shots, not 1"
[ "$late" -eq 0 ] || vt_fail "$late more shots came with the release"

# Tab held for 1.5 s: one press, one step along the bar. The bar's 32-pixel
# icons start at the window's left edge; the highlight leaves the first icon
# for the one as many steps on as Tab presses came through.
bar_before=$(shot 05-bar-before)
hold_key Tab 1.5 0.4
bar_after=$(shot 06-bar-after)
presses=$(held_count '^KEYDOWN: 9 ')
late=$(release_count '^KEYDOWN: 9 ')
echo "Tab held 1.5 s, the game stopped 0.4 s at the release: $presses presses while held, $late after"
[ "$presses" -eq 1 ] || vt_fail "holding Tab gave $presses presses while held, not 1"
[ "$late" -eq 0 ] || vt_fail "$late more presses came with the release of a held Tab"
steps=$(((presses + late) % 6))
expected=""
[ "$steps" -eq 0 ] || expected=" 0 $steps"
# The icons with more than 20 pixels changed inside their cells, which are
# clear of the screenshot's missing top row and of each other's edges.
changed=$(compare -fuzz 3% "$bar_before" "$bar_after" -compose src -highlight-color white \
    -lowlight-color black miff:- | convert - -crop 192x28+0+1 +repage -crop 32x28 +repage \
    -shave 2x0 -format '%[fx:mean*w*h] ' info: | awk '{ for (i = 1; i <= NF; i++) if ($i > 20) printf " %d", i - 1 }')
echo "weapon bar: icons changed:${changed:- none}, expected:${expected:- none}"
[ "$changed" = "$expected" ] || vt_fail "the highlight did not move one icon per Tab press"

vt_game_running || vt_fail "vantrell is not running after the checks"
echo "keys: ok"
