#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's test prefix. CTest uses it as the
# cross-compiling emulator. BRENVALE_WINEPREFIX and DISPLAY come from the caller (test.sh).
# When CTest hands the test a lane (CTEST_RESOURCE_GROUP_0_LANES="id:N,slots:1"), the lane's
# display and prefix are taken instead: BRENVALE_LANE_DISPLAY_N and BRENVALE_LANE_PREFIX_N.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lane=${CTEST_RESOURCE_GROUP_0_LANES:-}
if [ -n "$lane" ]; then
  lane=${lane#id:}
  lane=${lane%%,*}
  display_var=BRENVALE_LANE_DISPLAY_$lane
  prefix_var=BRENVALE_LANE_PREFIX_$lane
  export DISPLAY=${!display_var:?no display for lane $lane}
  export BRENVALE_WINEPREFIX=${!prefix_var:?no prefix for lane $lane}
fi
export WINEPREFIX=${BRENVALE_WINEPREFIX:-$here/../build/wineprefix}
# winemenubuilder is off: Wine starts it for every shortcut a program saves, to mirror the
# shortcut as a desktop entry in the Unix home. It outlives the program that saved the shortcut
# (it waits for it to end), keeps that program's output pipe open, and CTest waits on the pipe.
export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export TZ=${TZ:-UTC} LANG=${LANG:-C.UTF-8}
"$here/wine-prefix.sh" "$WINEPREFIX" test
exec wine "$@"
