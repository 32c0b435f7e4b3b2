#!/usr/bin/env bash
# Installs the Debian packages Vantrell needs that are not there yet.
#   scripts/install-deps.sh             what building and playing need
#   scripts/install-deps.sh --package   also what making the Debian package needs
#   scripts/install-deps.sh --test      also what the tests, benchmarks and fuzzers need
#                                       (the package's tests among them)
set -euo pipefail

packages=(g++ make cmake pkg-config freeglut3-dev libx11-dev libexpat1-dev libpng-dev zlib1g-dev
          libopenal-dev libsndfile1-dev libenet-dev libssl-dev
          libfreetype-dev fonts-dejavu-core libgl1-mesa-dri x11-utils)
case "${1:-}" in
    --package)
        packages+=(dpkg-dev) ;;
    --test)
        packages+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool x11-xserver-utils imagemagick
                   sox clang libclang-rt-14-dev dpkg-dev desktop-file-utils appstream lintian faketime) ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null; then
    sudo=(sudo)
else
    echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
    exit 1
fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
