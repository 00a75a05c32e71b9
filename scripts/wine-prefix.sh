#!/usr/bin/env bash
# Prepares the Wine prefix that runs Brenvale and its tests: 64-bit, no window-manager
# decorations (there is no window manager under Xvfb), Wine's TrueType fonts in the Fonts
# folder so that "MS Sans Serif", Tahoma and the symbol fonts resolve, and a font with Chinese,
# Japanese and Korean characters linked behind the interface fonts (Wine's own fonts have none,
# and the file list shows its texts in those languages too).
# The test prefix also marks windows as unmanaged: without a window manager, Wine would wait two
# seconds for one whenever a top-level window is hidden or destroyed.
# Usage: wine-prefix.sh PREFIX_DIR [test]
set -euo pipefail
prefix=${1:?prefix folder}
mode=${2:-run}
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
stamp="$prefix/.brenvale-prefix-v3-$mode"
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
cjk=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
if [ -f "$cjk" ]; then
  cp -f "$cjk" "$fonts/"
  # The outline interface fonts fall back to it for the characters they lack. "MS Sans Serif"
  # is a bitmap font: Wine links none to it (a link makes it lose its own glyphs instead), so a
  # list shows these scripts in an outline font such as Tahoma.
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null 2>&1
  done
fi
wineserver -w
touch "$stamp"
