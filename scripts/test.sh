#!/usr/bin/env bash
# Installs what is missing, builds both builds (native with sanitizers, Windows with MinGW) and
# runs every test: the platform-free tests natively, then all tests under Wine on one Xvfb
# display. Time zone and locale are pinned so that date texts are reproducible.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh

# C.UTF-8: file names in any script (Wine takes the Unix character set from it) and the
# en-US formats (Wine maps the C locale to en-US).
export TZ=UTC LANG=C.UTF-8 LC_ALL=C.UTF-8
export BRENVALE_WINEPREFIX="$root/build/wineprefix"
export WINEPREFIX="$BRENVALE_WINEPREFIX" WINEDEBUG=-all
scripts/wine-prefix.sh "$BRENVALE_WINEPREFIX" test

jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

# One display for every window test; a free display number is picked.
display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" >/dev/null 2>&1 || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
# A persistent Wine server for the run: each test program starts in a fraction of a second.
# Wine's own background services start here, with no terminal or pipe of a test attached: a
# service started by a test would keep that test's output pipe open and CTest would wait on it.
wineserver -p >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

status=0
ctest --preset native || status=1
ctest --preset windows || status=1
exit $status
