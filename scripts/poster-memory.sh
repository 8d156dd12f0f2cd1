#!/usr/bin/env bash
# What a poster costs: a --save of 8000 x 8000 pixels (10^7 iterations of pattern 3, framed on its
# orbit) on one thread and on two, its seconds and peak resident memory (/usr/bin/time -v) against
# the budget of 4.5 bytes a pixel a thread plus 160 MiB. Takes the build folder from $BUILD like
# viewer-run.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/viewer-lib.sh

side=8000
for threads in 1 2; do
  /usr/bin/time -v -o "$work/report" "$viewer" --iterations 10000000 --pattern 3 --colouring 4 \
    --seed 7 --size "${side}x${side}" --fit --threads "$threads" --save "$work/poster.png" \
    >/dev/null
  kib=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/report")
  wall=$(awk -F'): ' '/Elapsed \(wall clock\)/ {print $2}' "$work/report")
  [[ -n "$kib" ]] || { echo "poster-memory: /usr/bin/time wrote no figure" >&2; exit 1; }
  awk -v kib="$kib" -v side="$side" -v wall="$wall" -v threads="$threads" 'BEGIN {
    budget = (4.5 * side * side * threads + 160 * 1048576) / 1048576
    printf "poster %dx%d --save, %d thread%s: %s (m:ss), peak RSS %d MiB, %.2f bytes a pixel;",
           side, side, threads, (threads > 1 ? "s" : ""), wall, kib / 1024, kib * 1024 / (side * side)
    printf " budget %d MiB\n", budget
  }'
done
