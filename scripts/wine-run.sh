#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's test prefix. CTest uses it as the
# cross-compiling emulator. BRENVALE_WINEPREFIX and DISPLAY come from the caller (test.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${BRENVALE_WINEPREFIX:-$here/../build/wineprefix}
export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
export TZ=${TZ:-UTC} LANG=${LANG:-C.UTF-8}
[ -f "$WINEPREFIX/.brenvale-prefix-v2-test" ] || "$here/wine-prefix.sh" "$WINEPREFIX" test
exec wine "$@"
