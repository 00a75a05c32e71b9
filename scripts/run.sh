#!/usr/bin/env bash
# Installs what is missing, builds Brenvale and starts it under Wine. The folder you run this
# from becomes the plug-ins folder.
set -euo pipefail
here=$PWD
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Brenvale -j "$(nproc 2>/dev/null || echo 2)"

export WINEPREFIX=${BRENVALE_WINEPREFIX:-$HOME/.local/share/brenvale/wineprefix}
export WINEDEBUG=-all
scripts/wine-prefix.sh "$WINEPREFIX"

if [ -z "${DISPLAY:-}" ]; then
  display=90
  while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  export DISPLAY=":$display"
  echo "No display is set: Brenvale runs on the virtual display $DISPLAY (xwd -root -display $DISPLAY takes a picture)."
  sleep 1
fi

cd "$here"
exec wine "$root/build/windows/Brenvale.exe"
