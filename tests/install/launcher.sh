#!/usr/bin/env bash
# The installed game starts from any working folder through bin/vantrell and
# finds its whole pack: installed for /usr into a staging folder, then under
# another prefix and moved elsewhere afterwards, started through a symbolic
# link as ~/.local/bin or a games folder would hold it. The installed tree holds
# what a player needs and nothing else (no tests, tools or static libraries).
source "$(dirname "$0")/harness.sh"

vt_start_xvfb

root=$VT_WORK/root
vi_install "$root" /usr
actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort)
expected=$(vi_expected_tree usr)
[ "$actual" = "$expected" ] ||
    vt_fail "the installed tree differs from the expected one:
$(diff <(echo "$expected") <(echo "$actual"))"
[ -x "$root/usr/bin/vantrell" ] && [ -x "$root/usr/libexec/vantrell/vantrell" ] ||
    vt_fail "the launcher or the game is not executable"

vi_start_command "$root/usr/bin/vantrell"
vi_check_startup
vi_stop

vi_install "" "$VT_WORK/first/vantrell"
mv "$VT_WORK/first" "$VT_WORK/moved"
[ "$(cd "$VT_WORK/moved" && find . -type f -o -type l | sed 's|^\./||' | sort)" = \
  "$(vi_expected_tree vantrell)" ] || vt_fail "the tree under another prefix differs"
vi_start_link "$VT_WORK/moved/vantrell/bin/vantrell"
vi_check_startup
vi_stop
echo "launcher: ok"
