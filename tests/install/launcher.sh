#!/usr/bin/env bash
# The installed game starts from any working folder through bin/vantrell and
# finds its whole pack: installed under one prefix and moved elsewhere
# afterwards, started through a symbolic link as ~/.local/bin or a games folder
# would hold it (the package test starts it from /usr). The installed tree, for
# /usr in a staging folder and under the other prefix, holds what a player needs
# and nothing else (no tests, tools or static libraries).
# Its desktop entry, AppStream metadata and icons pass the freedesktop and
# AppStream validators and point at each other and at the launcher: the menu
# starts the game, software centres find its entry and its icon.
source "$(dirname "$0")/harness.sh"
vt_start_xvfb

root=$VT_WORK/root
vi_install "$root" /usr
usr=$root/usr
actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort)
expected=$(vi_expected_tree usr)
[ "$actual" = "$expected" ] ||
    vt_fail "the installed tree differs from the expected one:
$(diff <(echo "$expected") <(echo "$actual"))"
[ -x "$usr/bin/vantrell" ] && [ -x "$usr/libexec/vantrell/vantrell" ] ||
    vt_fail "the launcher or the game is not executable"

desktop=$usr/share/applications/$VT_APP_ID.desktop
metainfo=$usr/share/metainfo/$VT_APP_ID.metainfo.xml
report=$(desktop-file-validate "$desktop" 2>&1) || vt_fail "desktop-file-validate: $report"
[ -z "$report" ] || vt_fail "desktop-file-validate has remarks: $report"
# The tree check validates the metadata and ties it to the installed desktop
# entry and icon.
report=$(appstreamcli validate-tree --no-net "$usr" 2>&1) ||
    vt_fail "appstreamcli validate-tree: $report"
[ "$(grep -cxF -e Exec=vantrell -e "Icon=$VT_APP_ID" -e Terminal=false -e 'Categories=Game;StrategyGame;' \
    "$desktop")" -eq 4 ] || vt_fail "the menu entry lacks a line of Exec, Icon, Terminal, Categories: $(cat "$desktop")"
[ "$(grep -cF -e "<id>$VT_APP_ID</id>" -e "<launchable type=\"desktop-id\">$VT_APP_ID.desktop</launchable>" \
    "$metainfo")" -eq 2 ] || vt_fail "the metadata lacks its id or its launchable: $(cat "$metainfo")"
# Each icon is as large as its theme folder says, with transparent corners
# round an opaque picture.
for icon in "$usr"/share/icons/hicolor/*/apps/"$VT_APP_ID".png; do
    folder=$(basename "$(dirname "$(dirname "$icon")")")
    found=$(convert "$icon" -format '%wx%h, corner alpha %[fx:p{0,0}.a], middle alpha %[fx:p{w/2,h/2}.a]' info:)
    [ "$found" = "$folder, corner alpha 0, middle alpha 1" ] || vt_fail "$icon: $found"
done
ls "$usr"/share/icons/hicolor/{64x64,256x256}/apps/"$VT_APP_ID".png >/dev/null || vt_fail "no 64 or 256 icon"

vi_install "" "$VT_WORK/first/vantrell"
mv "$VT_WORK/first" "$VT_WORK/moved"
[ "$(cd "$VT_WORK/moved" && find . -type f -o -type l | sed 's|^\./||' | sort)" = \
  "$(vi_expected_tree vantrell)" ] || vt_fail "the tree under another prefix differs"
vi_start link "$VT_WORK/moved/vantrell/bin/vantrell"
vi_check_startup
echo "launcher: ok"
