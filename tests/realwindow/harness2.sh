#!/usr/bin/env bash
# Two games (or more) in one private Xvfb server, for tests of play between
# machines; a UDP relay between them when the line should be slow or lossy.
# Source it instead of harness.sh: every function of that is here too, and acts
# on the game in use. Then:
#   vt_start_xvfb                 as harness.sh's, on a screen wide enough for
#                                 two windows side by side
#   vt_start_game_as NAME [ARGS...]  start a game called NAME (A, B, ...) with its
#                                 own standard output and error, and its own
#                                 XDG_DATA_HOME; its window is placed right of the
#                                 games started before, and it is now in use
#   vt_use NAME                   put NAME in use and give its window the keyboard
#                                 focus: vt_key, vt_type, vt_console, vt_hold go
#                                 to it through the X test extension, as a
#                                 keyboard's keys do
#   vt_on NAME COMMAND...         run a harness function on NAME's game without
#                                 moving the focus (vt_wait, vt_lines,
#                                 vt_screenshot, vt_wait_exit, ...)
#   vt_stdout NAME, vt_stderr NAME  the files that hold NAME's standard output, error
#   vt_kill_game NAME [SIGNAL]    end NAME by its process id (SIGTERM, or SIGNAL)
#   vt_start_relay ARGS...        run udp_relay (tests/tools) with ARGS, --listen 0
#                                 among them; $VT_RELAY_PORT is the port it got
#   vt_stop_relay                 end it with SIGTERM and show its summary
# The games, the relay and the key probe are ended by process id when the
# script exits, and every game's standard error is checked for sanitizer
# reports; a failure keeps every game's trace as $VT_OUT/SCRIPT-NAME-stdout.txt.
#
# Without a window manager, xdotool's windowactivate refuses (nothing answers
# _NET_ACTIVE_WINDOW); windowfocus sets the X input focus itself, and keys sent
# through the X test extension go to that window, repeats of a held key too.
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

VT_SCREEN=${VT_SCREEN:-1344x600x24}
VT_RELAY=${VT_RELAY:-}
VT_RELAY_PID="" VT_RELAY_PORT="" VT_RELAY_OUT=$VT_WORK/relay.txt
VT_GAMES=()   # names, in the order started
VT_CURRENT="" # the game in use
# What harness.sh keeps of one game; the game in use has them in the variables
# themselves, the others here under "NAME.VARIABLE".
VT_SLOT_FIELDS=(VT_STDOUT VT_STDERR VT_GAME_PID VT_GAME_STATUS VT_WINDOW VT_LAST_KEY
                VT_REPLAYS XDG_DATA_HOME)
declare -A VT_SLOT=()

vt_save() {
    local field
    [ -n "$VT_CURRENT" ] || return 0
    for field in "${VT_SLOT_FIELDS[@]}"; do
        VT_SLOT[$VT_CURRENT.$field]=${!field}
    done
}

# Puts NAME in use without touching the focus.
vt_load() {
    local field
    [ -n "${VT_SLOT[$1.VT_STDOUT]:-}" ] || vt_fail "no game called $1 was started"
    vt_save
    for field in "${VT_SLOT_FIELDS[@]}"; do
        printf -v "$field" '%s' "${VT_SLOT[$1.$field]}"
    done
    VT_CURRENT=$1
}

vt_start_game_as() {
    local name=$1 game known=""
    shift
    [ -z "${VT_SLOT[$name.VT_STDOUT]:-}" ] || vt_fail "a game called $name was started already"
    # Only the windows of games still running: the X server hands a new client
    # the window ids of one that has gone.
    for game in "${VT_GAMES[@]}"; do
        [ -n "${VT_SLOT[$game.VT_GAME_PID]:-}" ] && [ -e "/proc/${VT_SLOT[$game.VT_GAME_PID]}" ] &&
            known+=" ${VT_SLOT[$game.VT_WINDOW]}"
    done
    vt_save
    mkdir -p "$VT_WORK/$name"
    VT_CURRENT=$name
    VT_STDOUT=$VT_WORK/$name/stdout.txt VT_STDERR=$VT_WORK/$name/stderr.txt
    VT_GAME_PID="" VT_GAME_STATUS="" VT_WINDOW="" VT_LAST_KEY=""
    export XDG_DATA_HOME=$VT_WORK/$name/data-home
    VT_REPLAYS=$XDG_DATA_HOME/vantrell/replays
    VT_GAMES+=("$name")
    vt_save # from here on the cleanup knows it, whatever happens next
    VT_KNOWN_WINDOWS=$known
    vt_start_game "$@"
    VT_KNOWN_WINDOWS=""
    # The first window sits where the game puts it, at -1,-1 (its top row and left
    # column off the screen); the next ones beside it, 20 pixels apart, losing
    # the same row and column, so one screenshot's rows and columns are another's.
    if [ "${#VT_GAMES[@]}" -gt 1 ]; then
        xdotool windowmove --sync "$VT_WINDOW" $(((${#VT_GAMES[@]} - 1) * 660 - 1)) -1 ||
            vt_fail "game $name's window could not be moved"
    fi
    vt_save
    vt_use "$name"
}

vt_use() {
    vt_load "$1"
    xdotool mousemove --window "$VT_WINDOW" 320 240 windowfocus --sync "$VT_WINDOW" 2>/dev/null
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$VT_WINDOW" ] ||
        vt_fail "game $1's window did not get the keyboard focus"
}

vt_on() {
    local back=$VT_CURRENT status
    vt_load "$1"
    shift
    "$@"
    status=$?
    vt_load "$back"
    return "$status"
}

vt_stdout() { vt_save && echo "${VT_SLOT[$1.VT_STDOUT]}"; }
vt_stderr() { vt_save && echo "${VT_SLOT[$1.VT_STDERR]}"; }

vt_kill_game() { vt_on "$1" vt_kill_current "${2:-TERM}"; }
vt_kill_current() {
    kill -CONT "$VT_GAME_PID" 2>/dev/null
    kill -"$1" "$VT_GAME_PID" || vt_fail "game $VT_CURRENT was not running"
    wait "$VT_GAME_PID"
    VT_GAME_STATUS=$?
    VT_GAME_PID=""
}

vt_start_relay() {
    local i
    [ -x "$VT_RELAY" ] || vt_fail "no udp_relay at VT_RELAY ('$VT_RELAY')"
    "$VT_RELAY" "$@" >"$VT_RELAY_OUT" 2>&1 &
    VT_RELAY_PID=$!
    for i in $(seq 1 100); do
        VT_RELAY_PORT=$(sed -n 's/^relay: listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$VT_RELAY_OUT")
        [ -n "$VT_RELAY_PORT" ] && return 0
        kill -0 "$VT_RELAY_PID" 2>/dev/null || break
        sleep 0.1
    done
    vt_fail "the relay did not start: $(cat "$VT_RELAY_OUT")"
}

vt_stop_relay() {
    [ -n "$VT_RELAY_PID" ] || return 0
    kill "$VT_RELAY_PID" 2>/dev/null
    wait "$VT_RELAY_PID"
    local status=$?
    VT_RELAY_PID=""
    tail -n 1 "$VT_RELAY_OUT"
    [ "$status" -eq 0 ] || vt_fail "the relay ended with status $status"
}

vt_keep_output() {
    local game script=$(basename "$0" .sh)
    vt_save
    for game in "${VT_GAMES[@]}"; do
        cp "${VT_SLOT[$game.VT_STDOUT]}" "$VT_OUT/$script-$game-stdout.txt" 2>/dev/null
        [ -s "${VT_SLOT[$game.VT_STDERR]}" ] && echo "--- game $game stderr (last lines) ---" >&2 &&
            tail -n 20 "${VT_SLOT[$game.VT_STDERR]}" >&2
    done
    [ -s "$VT_RELAY_OUT" ] && echo "--- relay ---" >&2 && tail -n 5 "$VT_RELAY_OUT" >&2
}

vt_cleanup() {
    local status=${1:-$?} game
    [ -n "$VT_RELAY_PID" ] && kill "$VT_RELAY_PID" 2>/dev/null && wait "$VT_RELAY_PID" 2>/dev/null
    [ -n "$VT_XEV_PID" ] && kill "$VT_XEV_PID" 2>/dev/null && wait "$VT_XEV_PID" 2>/dev/null
    vt_save
    for game in "${VT_GAMES[@]}"; do
        vt_load "$game"
        vt_stop_game
        vt_sanitizer_clean "$(basename "$0" .sh)-$game" || status=1
    done
    rm -rf "$VT_WORK"
    exit "$status"
}
