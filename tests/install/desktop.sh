#!/usr/bin/env bash
# The installed desktop entry, AppStream metadata and icons pass the freedesktop
# and AppStream validators and point at each other and at the launcher: the
# menu starts the game, software centres find its entry and its icon.
source "$(dirname "$0")/harness.sh"
for tool in desktop-file-validate appstreamcli identify; do
    command -v "$tool" >/dev/null ||
        vt_fail "$tool is not installed (scripts/install-deps.sh --test installs it)"
done

root=$VT_WORK/root
vi_install "$root" /usr
usr=$root/usr
desktop=$usr/share/applications/$VT_APP_ID.desktop
metainfo=$usr/share/metainfo/$VT_APP_ID.metainfo.xml

report=$(desktop-file-validate "$desktop" 2>&1) || vt_fail "desktop-file-validate: $report"
[ -z "$report" ] || vt_fail "desktop-file-validate has remarks: $report"
echo "desktop-file-validate: clean"
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) ||
    vt_fail "appstreamcli validate: $report"
echo "appstreamcli validate: $report"
# The tree check also ties the metadata to the installed desktop entry and icon.
report=$(appstreamcli validate-tree --no-net "$usr" 2>&1) ||
    vt_fail "appstreamcli validate-tree: $report"

entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = vantrell ] || vt_fail "the menu entry does not run vantrell: $(entry Exec)"
[ -x "$usr/bin/$(entry Exec)" ] || vt_fail "no launcher bin/$(entry Exec)"
[ "$(entry Icon)" = "$VT_APP_ID" ] || vt_fail "the menu entry's icon is $(entry Icon)"
[ "$(entry Terminal)" = false ] || vt_fail "the menu entry opens a terminal"
grep -qx 'Categories=Game;StrategyGame;' "$desktop" || vt_fail "categories: $(entry Categories)"
grep -qF "<id>$VT_APP_ID</id>" "$metainfo" || vt_fail "the metadata has another id"
grep -qF "<launchable type=\"desktop-id\">$VT_APP_ID.desktop</launchable>" "$metainfo" ||
    vt_fail "the metadata does not launch the installed desktop entry"

# Each icon is as large as its theme folder says, with transparent corners
# round an opaque picture.
icons=0
for icon in "$usr"/share/icons/hicolor/*/apps/"$VT_APP_ID".png; do
    folder=$(basename "$(dirname "$(dirname "$icon")")")
    size=$(identify -format '%wx%h' "$icon") || vt_fail "$icon is no picture"
    [ "$size" = "$folder" ] || vt_fail "$icon is $size"
    corner=$(convert "$icon" -format '%[fx:p{0,0}.a]' info:)
    middle=$(convert "$icon" -format '%[fx:p{w/2,h/2}.a]' info:)
    [ "$corner" = 0 ] && [ "$middle" = 1 ] ||
        vt_fail "$icon: corner alpha $corner, middle alpha $middle"
    icons=$((icons + 1))
done
for needed in 64x64 256x256; do
    [ -f "$usr/share/icons/hicolor/$needed/apps/$VT_APP_ID.png" ] || vt_fail "no $needed icon"
done
echo "desktop: ok ($icons icons)"
