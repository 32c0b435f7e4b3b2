#!/usr/bin/env bash
# The Debian package, made by CPack from the built build folder: its name, its
# fields (dependencies read from the game's libraries), lintian's verdict (not a
# warning) and its files (launcher, game, the whole pack, desktop entry, icons,
# metadata, manual page, changelog, nothing more). Then it
# is installed with apt-get, the game started as `vantrell` from the PATH, and
# the package removed again. Installing needs root (as every machine of ours
# runs the tests); without it that half is skipped, and so it is where a
# vantrell package is installed already, which this test would otherwise
# replace and remove.
source "$(dirname "$0")/harness.sh"
vt_start_xvfb # for the installed game at the end

(cd "$VT_BIN_DIR" && cpack -G DEB -B "$VT_WORK/package") >"$VT_WORK/cpack.log" 2>&1 ||
    vt_fail "cpack failed: $(tail -n 20 "$VT_WORK/cpack.log")"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$VT_BIN_DIR/CPackConfig.cmake")
deb=$VT_WORK/package/vantrell_${version}_$(dpkg --print-architecture).deb
[ -n "$version" ] && [ -f "$deb" ] ||
    vt_fail "no package $deb: $(ls "$VT_WORK/package")"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

fields=$(dpkg-deb -f "$deb" Package Version Section | tr '\n' ' ')
[ "$fields" = "Package: vantrell Version: $version Section: games " ] || vt_fail "fields: $fields"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] && [ -n "$(dpkg-deb -f "$deb" Description)" ] ||
    vt_fail "no maintainer or description"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libglut libpng libexpat libx11 libc6; do
    [[ "$depends" == *"$library"* ]] || vt_fail "Depends does not name $library: $depends"
done

# Debian's own checker finds nothing to warn of, let alone an error.
command -v lintian >/dev/null || vt_fail "lintian is missing: scripts/install-deps.sh --test installs it"
lintian --fail-on error,warning "$deb" >"$VT_WORK/lintian.log" 2>"$VT_WORK/lintian.err" ||
    vt_fail "lintian: $(cat "$VT_WORK/lintian.log" "$VT_WORK/lintian.err")"
! grep -E '^[EW]: ' "$VT_WORK/lintian.log" || vt_fail "lintian warns"
echo "package: lintian: no errors, no warnings"

# As Debian keeps games, the command is in /usr/games, not /usr/bin.
expected=$(vi_expected_tree usr | sed 's|^usr/bin/|usr/games/|' | sort)
contents=$(dpkg-deb -c "$deb")
files=$(echo "$contents" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort)
[ "$files" = "$expected" ] ||
    vt_fail "the package's files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$files"))"
for program in usr/games/vantrell usr/libexec/vantrell/vantrell; do
    echo "$contents" | grep -qE "^-rwxr-xr-x .* \./$program$" || vt_fail "$program is not executable"
done

if [ "$(id -u)" -ne 0 ]; then
    echo "package: installing skipped: needs root"
    exit 77
fi
if dpkg-query -W -f='${Status}' vantrell 2>/dev/null | grep -q "install ok installed"; then
    echo "package: installing skipped: a vantrell package is installed on this machine already"
    exit 77
fi

# The package goes again however the test ends, and the test's own status stays.
purge() {
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o DPkg::Lock::Timeout=300 \
        vantrell >"$VT_WORK/remove.log" 2>&1
}
trap 'status=$?; purge; vt_cleanup "$status"' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    -o DPkg::Lock::Timeout=300 "$deb" >"$VT_WORK/apt.log" 2>&1 ||
    vt_fail "apt-get install failed: $(tail -n 20 "$VT_WORK/apt.log")"
# A user's PATH holds /usr/games; root's, as the tests run, may not.
PATH=$PATH:/usr/games
[ "$(command -v vantrell)" = /usr/games/vantrell ] ||
    vt_fail "vantrell on the PATH is $(command -v vantrell), not the package's"
version_line=$(env -u DISPLAY vantrell --version 2>&1) && [ "$version_line" = "vantrell $version" ] ||
    vt_fail "vantrell --version without a display said: $version_line"

vi_start command vantrell
vi_check_startup
kill "$VT_GAME_PID" && wait "$VT_GAME_PID"
VT_GAME_PID=""

purge || vt_fail "apt-get purge failed: $(tail -n 5 "$VT_WORK/remove.log")"
trap vt_cleanup EXIT
for path in /usr/games/vantrell /usr/libexec/vantrell /usr/share/vantrell /usr/share/man/man6/vantrell.6.gz; do
    [ ! -e "$path" ] || vt_fail "$path is left after removing the package"
done
echo "package: ok (installed, started from the PATH, removed)"
