#!/usr/bin/env bash
# Drives the real vantrell binary in a private Xvfb server, for tests that need a
# real window, real pixels and real key presses. Source it, then:
#   vt_start_xvfb                 run this script again inside a private X server
#                                 (first thing in a script), key repeat on; its
#                                 screen is $VT_SCREEN (1024x768x24)
#   vt_check_key_repeat           prove that a held key reaches a window as repeated presses
#   vt_start_game [ARGS...]       run the game from $VT_GAME_DIR (the folder with data/)
#                                 (with $VT_FROZEN_DATE set, the calendar clock stands
#                                 still at that date, so the game seeds its random
#                                 numbers alike each run and makes the same terrain)
#                                 (its window is the first titled Vantrell that is
#                                 none of $VT_KNOWN_WINDOWS)
#   vt_wait_started               wait until the game is built and has drawn its title
#   vt_trace_keys                 on the title: open the menu, turn the key trace on
#   vt_lines                      how many lines standard output holds now
#   vt_count_after LINES REGEX    lines matching REGEX after the first LINES
#   vt_wait LINES REGEX [SECONDS] [COUNT]  wait until COUNT (1) such lines are there
#   vt_wait_line TEXT [SECONDS]   wait until a line equal to TEXT is on standard output
#   vt_wait_exit [SECONDS]        wait for the game to end by itself; $VT_GAME_STATUS
#   vt_wait_replayed SECONDS      wait until the replay the game plays says "Replay finished"
#   vt_key KEY...                 press and release keys (xdotool names: a, Tab, space, grave)
#   vt_hold KEY SECONDS           hold a key down
#   vt_hold_until_still SECONDS KEY...  hold keys until the picture stops changing
#   vt_type TEXT                  type text
#   vt_console TEXT               type a command line into the console and close it again
#   vt_drag X1 Y1 X2 Y2           drag the mouse with the left button across the window
#   vt_screenshot NAME            save $VT_OUT/NAME.png of the game window (truecolour)
#   vt_pixels_changed A B [FUZZ]  how many pixels two pictures differ in (by more than FUZZ)
#   vt_mask SHOT CONDITION...     to standard output: white where every condition holds
#   vt_white_pixels OPTIONS...    white pixels of the mask on standard input, after OPTIONS
#   vt_expect_message yes|no WHAT SHOT  whether a message is written across the middle
#   vt_text_mask SHOT OUT W H X B the text in a W x H box, X from the left, B rows up
#   vt_red_line SHOT              "TOP LEFT RIGHT" of the menu's selected (red) line
#   vt_fail MESSAGE               report and end the test with failure (after vt_on_fail,
#                                 if the test defines one)
# Keys go through the X test extension to the window with the focus, as a
# keyboard's do, so the server repeats a held key just as it does on a desktop.
# Everything started here is ended by process id when the test script exits.
# A game built with the sanitizers is checked as it runs: a report of
# AddressSanitizer, LeakSanitizer or UndefinedBehaviorSanitizer on its standard
# error fails the test, even one written while the test was already passing. A
# game ended by the test's SIGTERM is not leak-checked (LeakSanitizer looks only
# at a normal exit); a test that ends the game with "quit" gets the leak check.
set -u

: "${VT_GAME_DIR:?VT_GAME_DIR must name the folder holding vantrell and data/}"
VT_OUT=${VT_OUT:-$PWD/screenshots}
VT_WORK=$(mktemp -d "${TMPDIR:-/tmp}/vantrell-test.XXXXXX")
VT_STDOUT=$VT_WORK/stdout.txt VT_STDERR=$VT_WORK/stderr.txt
VT_GAME_PID="" VT_GAME_STATUS="" VT_WINDOW="" VT_XEV_PID=""
VT_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$VT_OUT"
# The game keeps a replay of every game in the user's data folder: a test's go to
# its own, never to the home of whoever runs it.
export XDG_DATA_HOME=$VT_WORK/data-home
VT_REPLAYS=$XDG_DATA_HOME/vantrell/replays

# The game's sound goes to OpenAL's null device, which mixes and discards: a test
# makes no noise on a machine with a sound card, and the sound layer runs the
# same everywhere. A test that wants another device exports its own ALSOFT_CONF
# after sourcing this.
printf '[general]\ndrivers = null\n' >"$VT_WORK/alsoft-null.conf"
export ALSOFT_CONF=$VT_WORK/alsoft-null.conf

vt_fail() {
    echo "FAIL: $*" >&2
    # A test keeps what else it wants kept by defining vt_on_fail.
    declare -F vt_on_fail >/dev/null && vt_on_fail
    vt_keep_output
    [ -n "${VT_XVFB_LOG:-}" ] && ! xdpyinfo >/dev/null 2>&1 &&
        echo "--- the X server ($DISPLAY) is gone; its log: ---" >&2 && tail -n 20 "$VT_XVFB_LOG" >&2
    exit 1
}

# The whole trace stays beside the screenshots; the end of standard error is
# shown. NAME (the script's name) names the copy.
vt_keep_output() {
    cp "$VT_STDOUT" "$VT_OUT/${1:-$(basename "$0" .sh)}-stdout.txt" 2>/dev/null
    [ -s "$VT_STDERR" ] && echo "--- game stderr (last lines) ---" >&2 && tail -n 20 "$VT_STDERR" >&2
}

# Ends the game by its process id, if it still runs.
vt_stop_game() {
    # A stopped game would never see the SIGTERM.
    [ -n "$VT_GAME_PID" ] && kill -CONT "$VT_GAME_PID" 2>/dev/null
    [ -n "$VT_GAME_PID" ] && kill "$VT_GAME_PID" 2>/dev/null && wait "$VT_GAME_PID" 2>/dev/null
    VT_GAME_PID=""
}

# False, with the report shown and kept as $VT_OUT/NAME-stderr.txt, when the
# game's standard error holds a sanitizer report.
vt_sanitizer_clean() { # [NAME]
    local report='ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:'
    grep -qE "$report" "$VT_STDERR" 2>/dev/null || return 0
    local copy="$VT_OUT/${1:-$(basename "$0" .sh)}-stderr.txt"
    cp "$VT_STDERR" "$copy"
    echo "FAIL: the game's standard error holds a sanitizer report (all of it in $copy):" >&2
    grep -m 1 -A 40 -E "$report" "$VT_STDERR" >&2
    return 1
}

# Ends with STATUS, or the script's own.
vt_cleanup() {
    local status=${1:-$?}
    vt_stop_game
    [ -n "$VT_XEV_PID" ] && kill "$VT_XEV_PID" 2>/dev/null && wait "$VT_XEV_PID" 2>/dev/null
    vt_sanitizer_clean || status=1
    rm -rf "$VT_WORK"
    exit "$status"
}
trap vt_cleanup EXIT

# Runs the whole test script again under xvfb-run, which starts the server,
# hands the script its display and ends the server afterwards. The first number
# tried is drawn at random well above the low ones that servers choosing their
# own (-displayfd) take, so tests starting together rarely meet; a server that
# finds its number taken (a lock file here, or the socket of a server in another
# sandbox) exits, and xvfb-run -a tries the next. -noreset: by default the server
# resets when its last client leaves (xset, xev), and a game connecting
# meanwhile is refused. Inside, key repeat goes on: a desktop repeats a held
# key, and the tests of held keys need that.
vt_start_xvfb() {
    if [ -z "${VT_XVFB_LOG:-}" ]; then
        VT_XVFB_LOG=$VT_WORK/xvfb.log xvfb-run -a -n $((200 + RANDOM % 800)) -e "$VT_WORK/xvfb.log" \
            -s "-screen 0 ${VT_SCREEN:-1024x768x24} -noreset" bash "$0"
        exit # with the status of the run inside
    fi
    xset r on && xset q | grep -qE 'auto repeat: +on' || vt_fail "key repeat is not on: $(xset q)"
}

# Holds a key for a second over a bare X client (xev) and counts the presses it
# receives: more than one means the server repeats held keys for the window with
# the focus, so a test of held keys can tell one event per press from many.
vt_check_key_repeat() {
    xev -event keyboard >"$VT_WORK/xev.txt" 2>&1 &
    VT_XEV_PID=$!
    timeout 10 xdotool search --sync --name '^Event Tester$' windowfocus --sync \
        sleep 0.2 keydown x sleep 1 keyup x sleep 0.3 >/dev/null ||
        vt_fail "the key probe's window did not appear"
    kill "$VT_XEV_PID" && wait "$VT_XEV_PID" 2>/dev/null
    VT_XEV_PID=""
    local presses=$(grep -c '^KeyPress event' "$VT_WORK/xev.txt")
    echo "key repeat: 1 s of a held key gave $presses presses"
    [ "$presses" -ge 5 ] || vt_fail "a held key gave $presses presses: the server does not repeat keys"
}

vt_start_game() {
    [ -x "$VT_GAME_DIR/vantrell" ] || vt_fail "no vantrell binary in $VT_GAME_DIR"
    # Only a game built with the sanitizers reads these. Leaks are looked for at a
    # normal exit; the suppressions name the system libraries' own. Mesa's
    # software renderer allocates and frees half-megabyte blocks for every draw;
    # with AddressSanitizer's usual 256 MB quarantine of freed memory the game
    # draws fewer than ten frames a second, with 8 MB twice as many. Freed memory
    # goes round that fast in either case, so little use-after-free detection is
    # lost (the unit tests run with the full quarantine).
    # Such a game also preloads its sanitizer runtime (which must come first of
    # all libraries), then Mesa's software driver: GLX unloads the driver when the
    # display closes, before the leak check at exit, and a leak report would then
    # show the driver's allocations in no module that a suppression can name.
    local asan preload=""
    asan=$(ldd "$VT_GAME_DIR/vantrell" 2>/dev/null | awk '/libasan\.so/ { print $3; exit }')
    [ -z "$asan" ] || preload=$asan:$(ls /usr/lib/*/dri/swrast_dri.so /usr/lib/dri/swrast_dri.so 2>/dev/null | head -n 1)
    (cd "$VT_GAME_DIR" &&
        LIBGL_ALWAYS_SOFTWARE=1 \
        ASAN_OPTIONS="quarantine_size_mb=8:${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1" \
        LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$VT_HERE/lsan.supp:print_suppressions=0" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}print_stacktrace=1:halt_on_error=1" \
        LD_PRELOAD="$preload" \
        FAKETIME_DONT_FAKE_MONOTONIC=1 \
        exec ${VT_FROZEN_DATE:+faketime -f "$VT_FROZEN_DATE"} ./vantrell "$@") >"$VT_STDOUT" 2>"$VT_STDERR" &
    VT_GAME_PID=$!
    VT_WINDOW=$(vt_new_window)
    [ -n "$VT_WINDOW" ] || vt_fail "no window titled Vantrell appeared"
    # No window manager runs here: give the window the keyboard focus and keep
    # the pointer over it.
    xdotool mousemove --window "$VT_WINDOW" 320 240 windowfocus --sync "$VT_WINDOW" 2>/dev/null
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$VT_WINDOW" ] ||
        vt_fail "the game's window did not get the keyboard focus"
}

# The first window titled Vantrell that is none of $VT_KNOWN_WINDOWS (those of
# games started before), within a minute. The game's window names no process
# (freeglut sets no _NET_WM_PID), so a second game's window is told from the
# first's by elimination.
vt_new_window() {
    local i window
    for i in $(seq 1 300); do
        for window in $(xdotool search --name '^Vantrell$' 2>/dev/null); do
            [[ " ${VT_KNOWN_WINDOWS:-} " == *" $window "* ]] || { echo "$window"; return 0; }
        done
        sleep 0.2
    done
}

# A game that has ended but was not waited for yet is a zombie, which kill -0
# still finds: it is not running.
vt_game_running() {
    [ -n "$VT_GAME_PID" ] && [ -e "/proc/$VT_GAME_PID" ] &&
        ! grep -q '^State:[[:space:]]*Z' "/proc/$VT_GAME_PID/status" 2>/dev/null
}

# Waits until the game has built itself and drawn its first picture: only then
# does it take keys within a frame or so.
vt_wait_started() {
    local i
    vt_wait_line "end GameCore::GameCore()" 60
    for i in $(seq 1 120); do
        [ "$(import -window "$VT_WINDOW" -define png:compression-level=1 PNG24:- 2>/dev/null |
            convert - -format '%[fx:mean > 0.05]' info: 2>/dev/null)" = 1 ] && return 0
        sleep 0.5
    done
    vt_fail "the game drew nothing within a minute"
}

# From the title: any key (Esc here) opens the menu, the console turns the key
# trace on, and closes; the menu stays open. Every key after this is paced by
# the trace.
vt_trace_keys() {
    vt_key Escape grave
    vt_type "set keydump 1"
    vt_key Return
    vt_wait_line 'processCommand: "set keydump 1"' 10
    vt_key grave
}

# Waits up to SECONDS for the game to end by itself and sets VT_GAME_STATUS to
# its exit status; fails if it does not end.
vt_wait_replayed() {
    local i
    for i in $(seq 1 $(($1 * 10))); do
        grep -qxF "Replay finished" "$VT_STDERR" && return 0
        vt_game_running || vt_fail "the replay ended by itself: $(tail -n 3 "$VT_STDERR")"
        sleep 0.1
    done
    vt_fail "the replay did not finish within $1 s"
}

vt_wait_exit() {
    local i
    for i in $(seq 1 $((${1:-10} * 10))); do
        vt_game_running || break
        sleep 0.1
    done
    vt_game_running && vt_fail "the game was still running ${1:-10}s later"
    wait "$VT_GAME_PID"
    VT_GAME_STATUS=$?
    VT_GAME_PID=""
}

# Marks and waits that count from a mark: vt_lines is how many lines the trace
# holds now, and the others look only at the lines after the first LINES (0 for
# the whole trace). The trace holds raw key bytes, so grep reads it as text
# whatever it finds.
vt_lines() { wc -l <"$VT_STDOUT"; }

vt_count_after() { tail -n +"$(($1 + 1))" "$VT_STDOUT" | grep -acE -- "$2"; }

# True once COUNT lines after the first LINES match within SECONDS; the pattern
# is grep's, after its options (-E REGEX, or -xF TEXT).
vt_poll() {
    local lines=$1 count=$2 seconds=$3 i
    shift 3
    for i in $(seq 1 $((seconds * 10))); do
        [ "$(tail -n +"$((lines + 1))" "$VT_STDOUT" | grep -ac "$@")" -ge "$count" ] && return 0
        sleep 0.1
    done
    return 1
}

vt_wait_line() { vt_poll 0 1 "${2:-30}" -xF -- "$1" || vt_fail "no line \"$1\" within ${2:-30}s"; }
vt_wait() {
    vt_poll "$1" "${4:-1}" "${3:-30}" -E -- "$2" ||
        vt_fail "fewer than ${4:-1} lines matching /$2/ after line $1 within ${3:-30}s"
}

# A window that ignores key repeat tells a repeat from a new press by looking,
# when a release comes in, whether the key is down again by then. So a key
# pressed again before the game has taken its last release is lost together
# with that release. With the game's key trace on ("set keydump 1", see
# vt_trace_keys) each release is waited for until the game has traced it (or
# has ended: Return on "quit" is never released); before that, a key that
# comes again waits a second, longer than any frame of a game that has drawn
# its first one (vt_wait_started).
VT_LAST_KEY=""

# The key releases the game has traced so far.
vt_releases() { grep -c '^KEYUP: ' "$VT_STDOUT" 2>/dev/null; }

# Before pressing KEY: a second's pause if it is the last key again and releases
# are not traced yet. Sets VT_BEFORE, the releases traced so far.
vt_before_press() {
    [ "${1,,}" = "${VT_LAST_KEY,,}" ] && [ "$(vt_releases)" -eq 0 ] && sleep 1
    VT_LAST_KEY=$1
    VT_BEFORE=$(vt_releases)
}

# Waits until the game has traced COUNT (default 1) more releases than before.
vt_after_release() {
    local i
    [ "$VT_BEFORE" -eq 0 ] && sleep 0.1 && return 0
    for i in $(seq 1 250); do
        [ "$(vt_releases)" -ge $((VT_BEFORE + ${1:-1})) ] || ! vt_game_running && return 0
        sleep 0.02
    done
}

# Presses and releases, or holds, in one xdotool run: a process start less
# between the two, which on a loaded machine is a tenth of a second.
vt_key() {
    local k
    for k in "$@"; do
        vt_hold "$k" 0.05
    done
}

vt_hold() {
    vt_before_press "$1"
    xdotool keydown "$1" sleep "$2" keyup "$1"
    vt_after_release
}

# Types the text in runs in which no key comes twice (a letter in either case
# is one key), each run at once; a run starts only when the last has been
# taken, or, before the key trace is on, a second later.
vt_type() {
    local text=$1 run="" c i
    for ((i = 0; i <= ${#text}; i++)); do
        c=${text:i:1}
        if [ -n "$run" ] && { [ -z "$c" ] || [[ "${run,,}" == *"${c,,}"* ]]; }; then
            vt_before_press "${run:0:1}"
            xdotool type --delay 30 -- "$run"
            vt_after_release "${#run}"
            VT_LAST_KEY=${run: -1}
            [ -z "$c" ] || [ "$(vt_releases)" -gt 0 ] || sleep 1
            run=""
        fi
        run+=$c
    done
}

vt_console() {
    vt_key grave
    vt_type "$1"
    vt_key Return grave
}

vt_drag() {
    xdotool mousemove --window "$VT_WINDOW" "$1" "$2" mousedown 1 sleep 0.2 \
        mousemove --window "$VT_WINDOW" "$3" "$4" sleep 0.2 mouseup 1
    sleep 0.5
}

# Holds KEYS until the picture has changed and then stops changing, at most
# SECONDS: the camera flies about one unit a frame, so how long it takes to
# reach the edge of the world depends on the frame rate. The server repeats
# only the last key pressed, but the others stay down until released.
vt_hold_until_still() {
    local end=$(($(date +%s) + $1)) moved="" shot=$VT_WORK/still.png
    shift
    vt_before_press "$1"
    xdotool keydown "$@"
    import -window "$VT_WINDOW" -define png:compression-level=1 PNG24:"$shot.old" 2>/dev/null
    while [ "$(date +%s)" -lt "$end" ]; do
        sleep 0.3
        import -window "$VT_WINDOW" -define png:compression-level=1 PNG24:"$shot" 2>/dev/null
        if [ "$(vt_pixels_changed "$shot.old" "$shot")" -ge 50 ]; then
            moved=1
        elif [ -n "$moved" ]; then
            break
        fi
        mv "$shot" "$shot.old"
    done
    xdotool keyup "$@"
    vt_after_release $#
    [ -n "$moved" ] || vt_fail "holding $* did not move the view"
}

# Truecolour, whatever the grabber would choose; light compression, which
# takes a fifth of the time of the default.
vt_screenshot() {
    local file="$VT_OUT/$1.png"
    import -window "$VT_WINDOW" -define png:compression-level=1 PNG24:"$file" 2>/dev/null ||
        vt_fail "screenshot $1 failed"
    echo "$file"
}

vt_pixels_changed() {
    compare -metric AE -fuzz "${3:-3%}" "$1" "$2" null: 2>&1 | awk '{ print int($1) }'
}

# Screenshots lose the window's top row and left column, which lie off the
# screen (no window manager places the window); rows counted up from the bottom
# edge are the window's own.
#
# The questions a person would ask of a screenshot are asked of masks: black
# and white pictures of where a pixel's colour meets every condition "R G B K",
# which means R r + G g + B b + K > 0 with channels from 0 to 255. Three
# conditions make one colour matrix (its last column adds K); each condition
# gives a channel that is white where it is above 0, and the mask is white
# where all are. Fractions of a channel step keep the comparisons exact.
VT_WHITE=("1 0 0 -247.5" "0 1 0 -247.5" "0 0 1 -247.5") # every channel above 0.97
VT_BLACK=("-1 0 0 7.5" "0 -1 0 7.5" "0 0 -1 7.5")       # the clear colour, give or take
VT_RED=("1 0 0 -200.5" "0 -1 0 39.5" "0 0 -1 39.5")     # the menu's selected line
vt_mask() {
    local shot=$1 matrix matrices=()
    shift
    while [ $# -gt 0 ]; do
        matrix=$(printf '%s\n' "$1" "${2:-0 0 0 1}" "${3:-0 0 0 1}" |
            awk '{ printf "%s %s %s 0 0 %.7f  ", $1, $2, $3, $4 / 255 }')
        matrices+=(\( -clone 0 -color-matrix "$matrix 0 0 0 1 0 0  0 0 0 0 1 0  0 0 0 0 0 1" \))
        shift $(($# < 3 ? $# : 3))
    done
    convert "$shot" "${matrices[@]}" -delete 0 -channel RGB -threshold 0 +channel \
        -separate -evaluate-sequence min miff:-
}

# The white pixels of the mask on standard input, counted after the convert
# options OPTIONS (a crop, say).
vt_white_pixels() { convert - "$@" -format '%[fx:round(mean*w*h)]' info:; }

# Near-white pixels in the band across the middle of the window where the
# centre message is written: a message of a dozen 16-pixel glyphs lights some
# hundreds of them, the scene behind it (sky, ground, falling tanks) hardly any.
vt_expect_message() { # yes|no WHAT SHOT
    local pixels=$(vt_mask "$3" "${VT_WHITE[@]}" | vt_white_pixels -crop 640x40+0+220 +repage)
    echo "$2: $pixels white pixels in the message band"
    [ "$1" = yes ] && [ "$pixels" -lt 100 ] && vt_fail "$2: no result written across the middle"
    [ "$1" = no ] && [ "$pixels" -ge 100 ] && vt_fail "$2: a result is written over the new game"
}

# The near-white pixels of a box as a mask: the text drawn there without what
# the scene shows through it.
vt_text_mask() {
    vt_mask "$1" "${VT_WHITE[@]}" | convert - -gravity southwest -crop "$3x$4+$5+$6" +repage "$2"
}

# The menu draws its selected line in pure red and every other line in white;
# the box of the rows with pure red in them tells which line is selected and how
# long its label is. A few pure red pixels elsewhere (the title's sunset, a fire)
# make no row of eight.
vt_red_line() {
    local box
    box=$(vt_mask "$1" "${VT_RED[@]}" | convert - -transparent black sparse-color:- | tr ' ' '\n' |
        awk -F, 'NF > 2 { n[$2]++; if (!($2 in l) || $1 < l[$2]) l[$2] = $1; if ($1 > r[$2]) r[$2] = $1 }
            END { top = 1e9; left = 1e9; right = -1; bottom = -1
                  for (k in n) if (n[k] >= 8) {
                      y = k + 0; red += n[k]; top = y < top ? y : top; bottom = y > bottom ? y : bottom
                      left = l[k] < left ? l[k] : left; right = r[k] > right ? r[k] : right }
                  print top, left, right; exit !(red > 50 && bottom - top < 40) }') ||
        vt_fail "no red line of the menu in $1: $box"
    echo "$box"
}
