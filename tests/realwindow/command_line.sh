#!/usr/bin/env bash
# The real binary's own options, with no X display at all: help and the version
# are printed on standard output with status 0, a mistake is named on standard
# error with status 2, none of them opening a window. GLUT's options still reach
# GLUT: -display names the display it fails to open.
source "$(dirname "$0")/harness.sh"
cd "$VT_GAME_DIR" || vt_fail "no game folder $VT_GAME_DIR"

# run ARGUMENTS...: the game without a display; sets status, out and err.
run() {
    status=0
    env -u DISPLAY ./vantrell "$@" >"$VT_WORK/out" 2>"$VT_WORK/err" </dev/null || status=$?
    out=$(cat "$VT_WORK/out")
    err=$(cat "$VT_WORK/err")
}
expect() {
    "$@" || vt_fail "$case_name: expected $*
status $status
stdout: $out
stderr: $err"
}

for option in --help -h; do
    case_name=$option
    run "$option"
    expect [ "$status" -eq 0 ]
    expect [ -z "$err" ]
    expect [ "${out%%$'\n'*}" = "Usage: vantrell [OPTION]..." ]
    expect grep -q -- "--replay FILE" "$VT_WORK/out"
done

case_name=--version
run --version
expect [ "$status" -eq 0 ]
expect [ -z "$err" ]
expect [ "$out" = "vantrell $VT_VERSION" ]

for word in --no-such -x replay.vrp; do
    case_name=$word
    run -sync "$word" --help
    expect [ "$status" -eq 2 ]
    expect [ -z "$out" ]
    expect [ "$(wc -l <"$VT_WORK/err")" -eq 2 ]
    expect grep -qF "'$word'" "$VT_WORK/err"
    expect grep -qF "Try 'vantrell --help'" "$VT_WORK/err"
done

case_name="-display"
silent=90
while [ -e "/tmp/.X11-unix/X$silent" ] || [ -e "/tmp/.X$silent-lock" ]; do silent=$((silent + 1)); done
run -display ":$silent"
expect [ "$status" -ne 0 ]
expect [ "$out" = "Window::Window()" ]
expect grep -qF "failed to open display ':$silent'" "$VT_WORK/err"
echo "command_line: ok"
