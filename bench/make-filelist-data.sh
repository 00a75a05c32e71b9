#!/usr/bin/env bash
# Creates the folders the file-list and program benchmarks read: DIR/1000, DIR/10000 and
# DIR/100000 with that many filter files, and DIR/app/N (N = 0, 23, 100, 1000, 10000, 20000)
# that the program benchmarks switch filters in and start the program from. Made on the Linux
# side, where creating 100,000 files takes a second (through Wine's file layer it takes many
# minutes).
set -euo pipefail
dir=${1:?data folder}
make_folder() {
  local folder=$1 n=$2
  [ -f "$folder/.complete" ] && return
  rm -rf "$folder"
  mkdir -p "$folder"
  if [ "$n" -gt 0 ]; then (cd "$folder" && seq -f "Filter number %g.8bf" 1 "$n" | xargs -d '\n' touch); fi
  touch "$folder/.complete"
}
for n in 1000 10000 100000; do make_folder "$dir/$n" "$n"; done
for n in 0 23 100 1000 10000 20000; do make_folder "$dir/app/$n" "$n"; done
