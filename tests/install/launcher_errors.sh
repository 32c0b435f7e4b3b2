#!/usr/bin/env bash
# The launcher's own cases, with the installed game replaced by a stand-in that
# reports where it runs and what it was given: arguments reach the game
# unchanged, in the installed share folder (but for a replay's file, made
# absolute); a missing data folder and an unreachable display are each said on
# standard error, and the game does not start, unless it is asked only what it
# answers without a window (--help, --version, a mistake).
source "$(dirname "$0")/harness.sh"

root=$VT_WORK/root
vi_install "$root" /usr
launcher=$root/usr/bin/vantrell
share=$(cd "$root/usr/share/vantrell" && pwd -P)
cat >"$root/usr/libexec/vantrell/vantrell" <<'TEXT'
#!/bin/sh
echo "folder $(pwd -P)"
for argument in "$@"; do echo "argument [$argument]"; done
exit 7
TEXT

# Tools the launcher may use, without xdpyinfo; and an xdpyinfo whose server always answers.
tools=$VT_WORK/tools
answering=$VT_WORK/answering
mkdir -p "$tools" "$answering"
for tool in readlink cat; do ln -s "$(command -v "$tool")" "$tools/$tool"; done
printf '#!/bin/sh\nexit 0\n' >"$answering/xdpyinfo"
chmod +x "$answering/xdpyinfo"
# A display number no server listens on.
silent=90
while [ -e "/tmp/.X11-unix/X$silent" ] || [ -e "/tmp/.X$silent-lock" ]; do silent=$((silent + 1)); done

# run NAME ENV... -- launcher arguments: runs the launcher from an unrelated folder.
run() {
    case_name=$1
    shift
    local settings=()
    while [ "$1" != "--" ]; do settings+=("$1"); shift; done
    shift
    status=0
    (cd "$VT_WORK" && env "${settings[@]}" "$launcher" "$@") >"$VT_WORK/out" 2>"$VT_WORK/err" ||
        status=$?
    out=$(cat "$VT_WORK/out")
    err=$(cat "$VT_WORK/err")
}
expect() {
    "$@" || vt_fail "$case_name: expected $*
status $status
stdout: $out
stderr: $err"
}

arguments=(-geometry 800x600 "two words" "" '$HOME' "*")
for path in "$answering:$PATH" "$tools"; do
    run "arguments (PATH $path)" DISPLAY=:$silent PATH="$path" -- "${arguments[@]}"
    expect [ "$status" -eq 7 ]
    expect [ "$out" = "$(echo "folder $share"; printf 'argument [%s]\n' "${arguments[@]}")" ]
    expect [ -z "$err" ]
done

for display in "-u DISPLAY" "DISPLAY=" "DISPLAY=:$silent"; do
    # shellcheck disable=SC2086 # the setting is one or two words on purpose
    run "no display ($display)" $display -- -geometry 800x600
    expect [ "$status" -ne 0 ]
    expect [ -z "$out" ]
    expect grep -q "needs an X display" "$VT_WORK/err"
    expect grep -q "ssh -X" "$VT_WORK/err"
    expect grep -qF "xvfb-run -s \"-screen 0 1024x768x24\" $(readlink -f "$launcher")" "$VT_WORK/err"
done

# What the game answers without its window reaches it with no display at all; a
# replay's file is made absolute, since the game runs in the share folder.
here=$(cd "$VT_WORK" && pwd)
while IFS='|' read -r given handed; do
    read -ra given_words <<<"$given"
    read -ra handed_words <<<"$handed"
    run "without a window ($given)" -u DISPLAY PATH="$tools" -- "${given_words[@]}"
    expect [ "$status" -eq 7 ]
    expect [ "$out" = "$(echo "folder $share"; printf 'argument [%s]\n' "${handed_words[@]}")" ]
    expect [ -z "$err" ]
done <<TEXT
--help|--help
--version|--version
-h|-h
-geometry 800x600 --bogus|-geometry 800x600 --bogus
--replay games/a.vrp -- extra|--replay $here/games/a.vrp -- extra
--fast --replay=a.vrp stray|--fast --replay=$here/a.vrp stray
--replay /abs/a.vrp --fast -sync -x|--replay /abs/a.vrp --fast -sync -x
TEXT
# Arguments that all open the window still need the display; a value of
# -display or -geometry counts as none of the game's own.
for arguments in "--replay a.vrp --fast" "-display --help" "-geometry --version -iconic"; do
    # shellcheck disable=SC2086 # several words on purpose
    run "needs the window ($arguments)" -u DISPLAY -- $arguments
    expect [ "$status" -eq 1 ]
    expect grep -q "needs an X display" "$VT_WORK/err"
done

mv "$root/usr/share/vantrell/data" "$VT_WORK/data-away"
for display in "-u DISPLAY" "DISPLAY=:$silent"; do
    # shellcheck disable=SC2086
    run "no data ($display)" $display PATH="$answering:$PATH" --
    expect [ "$status" -ne 0 ]
    expect [ -z "$out" ]
    expect [ "$(wc -l <"$VT_WORK/err")" -eq 1 ]
    expect grep -qF "$share/data" "$VT_WORK/err"
done
echo "launcher_errors: ok"
