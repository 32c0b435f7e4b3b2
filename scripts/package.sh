#!/usr/bin/env bash
# Builds the game for release and makes its Debian package; prints the path of
# the package, which installs with apt-get install ./vantrell_VERSION_ARCH.deb.
#   scripts/package.sh [build folder]     (default: build-package)
# A folder of its own, so the test build in build/ keeps its tests and settings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-package}

"$root/scripts/install-deps.sh" --package
# Hardened as Debian builds its own packages: a stack protector, checked string
# and memory functions, and the relocations made read-only once bound at start.
flags() { (cd "$root" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"); }
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVANTRELL_TESTS=OFF \
    -DVANTRELL_BENCH=OFF -DVANTRELL_FUZZ=OFF -DVANTRELL_SANITIZE=OFF \
    -DCMAKE_C_FLAGS="$(flags CFLAGS) $(flags CPPFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build "$build" -j"$(nproc)"
log=$(cd "$build" && cpack -G DEB) || { echo "$log" >&2; exit 1; }
package=$(echo "$log" | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
[ -f "$package" ] || { echo "$log" >&2; echo "cpack made no package" >&2; exit 1; }
echo "$package"
