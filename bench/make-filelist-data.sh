#!/usr/bin/env bash
# Creates the folders the file-list benchmark reads: DIR/1000, DIR/10000 and DIR/100000, each
# with that many filter files. Made on the Linux side, where creating 100,000 files takes a
# second (through Wine's file layer it takes many minutes).
set -euo pipefail
dir=${1:?data folder}
for n in 1000 10000 100000; do
  [ -f "$dir/$n/.complete" ] && continue
  rm -rf "$dir/$n"
  mkdir -p "$dir/$n"
  (cd "$dir/$n" && seq -f "Filter number %g.8bf" 1 "$n" | xargs -d '\n' touch && touch .complete)
done
