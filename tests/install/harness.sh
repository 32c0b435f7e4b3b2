#!/usr/bin/env bash
# Installs the build folder's game and starts it the way a player would, for the
# install tests. Built on the real-window harness (vt_start_xvfb, vt_wait_line,
# vt_fail...); source it, then:
#   vi_install ROOT PREFIX     cmake --install the build folder under PREFIX, inside
#                              ROOT as DESTDIR (an empty ROOT installs at PREFIX itself)
#   vi_expected_tree PREFIX    every file an installed tree must hold, one a line,
#                              PREFIX before each (no leading slash)
#   vi_start link PATH         start the game through a symbolic link to PATH
#   vi_start command COMMAND   start the game with a shell command (a name on the PATH)
#   vi_check_startup           fail unless the game found its whole pack
# The game starts from a fresh folder that has nothing to do with it, and keeps
# its replays in the test's own data folder (XDG_DATA_HOME, set by the
# real-window harness), never in the home of whoever runs the tests.
source "$(dirname "${BASH_SOURCE[0]}")/../realwindow/harness.sh"
: "${VT_BIN_DIR:?VT_BIN_DIR must name the build folder}"
: "${VT_APP_ID:?VT_APP_ID must give the desktop id}"
# The assembled pack of the build folder, which every install must hold.
VI_PACK=$VT_GAME_DIR/data

vi_install() {
    local root=$1 prefix=$2
    DESTDIR=$root cmake --install "$VT_BIN_DIR" --prefix "$prefix" >"$VT_WORK/install.log" 2>&1 ||
        vt_fail "cmake --install --prefix $prefix failed: $(tail -n 5 "$VT_WORK/install.log")"
}

vi_expected_tree() {
    local prefix=$1 icon
    {
        printf '%s\n' bin/vantrell libexec/vantrell/vantrell "share/applications/$VT_APP_ID.desktop" \
            "share/metainfo/$VT_APP_ID.metainfo.xml" share/doc/vantrell/copyright \
            share/doc/vantrell/changelog.gz share/man/man6/vantrell.6.gz
        for icon in "$VT_BIN_DIR"/icons/*.png; do
            echo "share/icons/hicolor/$(basename "$icon" .png)/apps/$VT_APP_ID.png"
        done
        (cd "$VI_PACK/.." && find data -type f | sed 's|^|share/vantrell/|')
    } | sed "s|^|$prefix/|" | sort
}

# vt_start_game runs ./vantrell in $VT_GAME_DIR: here that is an empty folder
# holding only a way into the installed game.
vi_start() {
    VT_GAME_DIR=$VT_WORK/elsewhere
    mkdir -p "$VT_GAME_DIR"
    if [ "$1" = link ]; then
        ln -s "$2" "$VT_GAME_DIR/vantrell"
    else
        printf '#!/bin/sh\nexec %s "$@"\n' "$2" >"$VT_GAME_DIR/vantrell"
        chmod +x "$VT_GAME_DIR/vantrell"
    fi
    vt_start_game
}

vi_check_startup() {
    vt_wait_line "end GameCore::GameCore()" 90
    [ "$(grep -cxF "Loading skeleton: 1" "$VT_STDOUT")" -eq 4 ] ||
        vt_fail "not four \"Loading skeleton: 1\" lines: $(grep 'Loading skeleton' "$VT_STDOUT" | tr '\n' '|')"
    grep -qxF "Loading menu: 1" "$VT_STDOUT" || vt_fail "no \"Loading menu: 1\" line"
    [ "$(grep -cxF "Mesh loaded." "$VT_STDOUT")" -eq "$(find "$VI_PACK" -name '*.mesh' | wc -l)" ] ||
        vt_fail "not all meshes of the pack loaded"
    ! grep -E 'Unable to open|Unknown image type|Unrecognized token|Error loading' "$VT_STDOUT" ||
        vt_fail "a loader complained on standard output"
    [ ! -s "$VT_STDERR" ] || vt_fail "the game wrote on standard error"
    vt_game_running || vt_fail "the game is not running after start-up"
}
