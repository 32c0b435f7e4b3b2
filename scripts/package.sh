#!/usr/bin/env bash
# Builds the game for release and makes its Debian package; prints the path of
# the package, which installs with apt-get install ./vantrell_VERSION_ARCH.deb.
#   scripts/package.sh [build folder]     (default: build-package)
# A folder of its own, so the test build in build/ keeps its tests and settings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-package}

"$root/scripts/install-deps.sh" --package
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVANTRELL_TESTS=OFF \
    -DVANTRELL_BENCH=OFF -DVANTRELL_FUZZ=OFF -DVANTRELL_SANITIZE=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
log=$(cd "$build" && cpack -G DEB) || { echo "$log" >&2; exit 1; }
package=$(echo "$log" | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
[ -f "$package" ] || { echo "$log" >&2; echo "cpack made no package" >&2; exit 1; }
echo "$package"
