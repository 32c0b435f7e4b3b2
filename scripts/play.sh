#!/usr/bin/env bash
# Installs what is missing, builds the game and its data, and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DVANTRELL_TESTS=OFF -DVANTRELL_BENCH=OFF >/dev/null
cmake --build "$root/build" -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    cat >&2 <<'TEXT'
Vantrell is built (build/game/vantrell) but needs an X display to open its window,
and none can be reached here (DISPLAY is unset or the server does not answer).
  - On a desktop, run this command from a terminal inside the graphical session.
  - Over ssh, connect with X forwarding: ssh -X host, then run it again.
  - With no screen at all, start a virtual one (apt-get install xvfb):
      xvfb-run -s "-screen 0 1024x768x24" scripts/play.sh
    and look at it with a VNC server such as x11vnc.
TEXT
    exit 1
fi

cd "$root/build/game"
exec ./vantrell "$@"
