#!/usr/bin/env bash
# Installs what is missing, builds both builds (native with sanitizers, Windows with MinGW) and
# runs every test: the platform-free tests natively, then all tests under Wine in two lanes of
# their own (below). Time zone and locale are pinned so that date texts are reproducible.
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

# The Windows tests run in two lanes at once, each with its own Xvfb display, Wine prefix and
# Wine server, so that two test programs never share input, focus or windows. CTest hands each
# test a lane through its resource allocation (build/windows/lanes.json); scripts/wine-run.sh
# picks the lane's display and prefix.
lanes=2
pids=()
prefixes=()
cleanup() {
  for prefix in "${prefixes[@]}"; do WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true; done
  for pid in "${pids[@]}"; do kill "$pid" >/dev/null 2>&1 || true; done
}
trap cleanup EXIT
display=90
spec='{"version": {"major": 1, "minor": 0}, "local": [{"lanes": ['
for lane in $(seq 0 $((lanes - 1))); do
  while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
  prefix=$BRENVALE_WINEPREFIX
  if [ "$lane" -gt 0 ]; then
    # A copy of the prepared prefix; made again when the prepared one is newer.
    prefix="$BRENVALE_WINEPREFIX-lane$lane"
    if [ ! -d "$prefix" ] || [ "$BRENVALE_WINEPREFIX/system.reg" -nt "$prefix/system.reg" ]; then
      rm -rf "$prefix"
      cp -a "$BRENVALE_WINEPREFIX" "$prefix"
    fi
  fi
  prefixes+=("$prefix")
  export "BRENVALE_LANE_DISPLAY_$lane=:$display" "BRENVALE_LANE_PREFIX_$lane=$prefix"
  # A persistent Wine server per lane: each test program starts in a fraction of a second.
  # Wine's own background services start here, with no terminal or pipe of a test attached: a
  # service started by a test would keep that test's output pipe open and CTest would wait on it.
  (export DISPLAY=":$display" WINEPREFIX=$prefix
   wineserver -p >/dev/null 2>&1 || true
   wine cmd /c exit </dev/null >/dev/null 2>&1 || true)
  if [ "$lane" -gt 0 ]; then spec+=', '; fi
  spec+="{\"id\": \"$lane\", \"slots\": 1}"
  display=$((display + 1))
done
spec+=']}]}'
echo "$spec" > "$root/build/windows/lanes.json"
# Programs started outside CTest (and a test given no lane) use the first lane.
export DISPLAY=$BRENVALE_LANE_DISPLAY_0

status=0
ctest --preset native || status=1
ctest --preset windows -j "$lanes" --resource-spec-file "$root/build/windows/lanes.json" || status=1
exit $status
