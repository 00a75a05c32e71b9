#!/usr/bin/env bash
# Prepares the Wine prefix that runs Brenvale and its tests: 64-bit, no window-manager
# decorations (there is no window manager under Xvfb), Wine's TrueType fonts in the Fonts
# folder so that "MS Sans Serif", Tahoma and the symbol fonts resolve.
# The test prefix also marks windows as unmanaged: without a window manager, Wine would wait two
# seconds for one whenever a top-level window is hidden or destroyed.
# Usage: wine-prefix.sh PREFIX_DIR [test]
set -euo pipefail
prefix=${1:?prefix folder}
mode=${2:-run}
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
stamp="$prefix/.brenvale-prefix-v2-$mode"
[ -f "$stamp" ] && exit 0
mkdir -p "$prefix"
wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
if [ "$mode" = test ]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # A test program that crashes ends at once instead of waiting for a debugger.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d "" /f >/dev/null 2>&1
fi
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -f /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
wineserver -w
touch "$stamp"
