#!/usr/bin/env bash
# Redraws the stored skin "PearlMist" into skins/PearlMist/ (options file and pictures) and packs
# that folder into skins/PearlMist.vlz, the archive the build embeds in the program. The tools
# are built natively in build/tools. With an argument it also writes a preview picture there.
# Usage: tools/make-pearlmist.sh [PREVIEW.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/tools
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRENVALE_TESTS=OFF >/dev/null
cmake --build "$build" --target draw_pearl_mist pack_skin
if [ $# -gt 0 ]; then
  "$build/tools/draw_pearl_mist" "$root/skins/PearlMist" --preview "$1"
else
  "$build/tools/draw_pearl_mist" "$root/skins/PearlMist"
fi
"$build/tools/pack_skin" "$root/skins/PearlMist" "$root/skins/PearlMist.vlz"
