#!/usr/bin/env bash
# Drives the real vantrell binary in a private Xvfb server, for tests that need a
# real window, real pixels and real key presses. Source it, then:
#   vt_start_xvfb                 start a server on a free display number
#   vt_start_game                 run the game from $VT_GAME_DIR (the folder with data/)
#   vt_wait_line TEXT [SECONDS]   wait until a line equal to TEXT is on standard output
#   vt_wait_match REGEX [SECONDS] wait until a line matches REGEX
#   vt_key KEY...                 press and release keys (xdotool names: a, Tab, space, grave)
#   vt_hold KEY SECONDS           hold a key down
#   vt_type TEXT                  type text
#   vt_screenshot NAME            save $VT_OUT/NAME.png of the game window
#   vt_fail MESSAGE               report and end the test with failure
# Everything started here is ended by process id when the test script exits.
set -u

: "${VT_GAME_DIR:?VT_GAME_DIR must name the folder holding vantrell and data/}"
VT_OUT=${VT_OUT:-$PWD/screenshots}
VT_WORK=$(mktemp -d "${TMPDIR:-/tmp}/vantrell-test.XXXXXX")
VT_STDOUT=$VT_WORK/stdout.txt
VT_STDERR=$VT_WORK/stderr.txt
VT_XVFB_PID=""
VT_GAME_PID=""
VT_WINDOW=""
mkdir -p "$VT_OUT"

# The game's sound goes to OpenAL's null device, which mixes and discards: a test
# makes no noise on a machine with a sound card, and the sound layer runs the
# same everywhere. A test that wants another device exports its own ALSOFT_CONF
# after sourcing this.
printf '[general]\ndrivers = null\n' >"$VT_WORK/alsoft-null.conf"
export ALSOFT_CONF=$VT_WORK/alsoft-null.conf

vt_fail() {
    echo "FAIL: $*" >&2
    if [ -s "$VT_STDERR" ]; then
        echo "--- game stderr (last lines) ---" >&2
        tail -n 20 "$VT_STDERR" >&2
    fi
    exit 1
}

vt_cleanup() {
    if [ -n "$VT_GAME_PID" ] && kill -0 "$VT_GAME_PID" 2>/dev/null; then
        kill "$VT_GAME_PID" 2>/dev/null
        wait "$VT_GAME_PID" 2>/dev/null
    fi
    if [ -n "$VT_XVFB_PID" ] && kill -0 "$VT_XVFB_PID" 2>/dev/null; then
        kill "$VT_XVFB_PID" 2>/dev/null
        wait "$VT_XVFB_PID" 2>/dev/null
    fi
    rm -rf "$VT_WORK"
}
trap vt_cleanup EXIT

vt_start_xvfb() {
    command -v Xvfb >/dev/null || vt_fail "Xvfb is not installed (scripts/install-deps.sh --test installs it)"
    # -displayfd lets the server pick a free display number itself, so parallel
    # tests never race for one.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$VT_WORK/display" 2>"$VT_WORK/xvfb.log" &
    VT_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        if [ -s "$VT_WORK/display" ]; then
            export DISPLAY=":$(head -n 1 "$VT_WORK/display" | tr -d '[:space:]')"
            xdpyinfo >/dev/null 2>&1 && return 0
        fi
        kill -0 "$VT_XVFB_PID" 2>/dev/null || vt_fail "Xvfb did not start: $(cat "$VT_WORK/xvfb.log")"
        sleep 0.1
    done
    vt_fail "Xvfb did not come up"
}

vt_start_game() {
    [ -x "$VT_GAME_DIR/vantrell" ] || vt_fail "no vantrell binary in $VT_GAME_DIR"
    (cd "$VT_GAME_DIR" && LIBGL_ALWAYS_SOFTWARE=1 exec ./vantrell) >"$VT_STDOUT" 2>"$VT_STDERR" &
    VT_GAME_PID=$!
    local i
    for i in $(seq 1 200); do
        VT_WINDOW=$(xdotool search --name '^Vantrell$' 2>/dev/null | head -n 1)
        if [ -n "$VT_WINDOW" ]; then
            # No window manager runs here: give the window the keyboard focus
            # and keep the pointer over it.
            xdotool mousemove --window "$VT_WINDOW" 320 240 2>/dev/null
            xdotool windowfocus --sync "$VT_WINDOW" 2>/dev/null
            return 0
        fi
        kill -0 "$VT_GAME_PID" 2>/dev/null || vt_fail "vantrell exited before its window appeared"
        sleep 0.1
    done
    vt_fail "no window titled Vantrell appeared"
}

vt_game_running() { kill -0 "$VT_GAME_PID" 2>/dev/null; }

# The game's standard output so far.
vt_output() { cat "$VT_STDOUT"; }

vt_wait_line() {
    local text=$1 seconds=${2:-30} i
    for i in $(seq 1 $((seconds * 10))); do
        grep -qxF -- "$text" "$VT_STDOUT" && return 0
        sleep 0.1
    done
    vt_fail "no line \"$text\" within ${seconds}s"
}

vt_wait_match() {
    local regex=$1 seconds=${2:-30} i
    for i in $(seq 1 $((seconds * 10))); do
        grep -qE -- "$regex" "$VT_STDOUT" && return 0
        sleep 0.1
    done
    vt_fail "no line matching /$regex/ within ${seconds}s"
}

vt_key() {
    local k
    for k in "$@"; do
        xdotool keydown "$k" && sleep 0.05 && xdotool keyup "$k" && sleep 0.1
    done
}

vt_hold() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
    sleep 0.1
}

vt_type() {
    xdotool type --delay 60 -- "$1"
    sleep 0.1
}

vt_screenshot() {
    local file="$VT_OUT/$1.png"
    import -window "$VT_WINDOW" "$file" 2>/dev/null || vt_fail "screenshot $1 failed"
    echo "$file"
}
