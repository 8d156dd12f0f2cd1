#!/usr/bin/env bash
# What --live costs: 10^8 iterations of pattern 3 in rainbow colours, with and without it, three
# runs each, alternating so that both see the machine alike; the median seconds until the
# picture is finished, and their ratio. Takes the build folder from $BUILD like viewer-run.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

secondsOf() {  # the seconds of a viewer-run.sh report
  sed -n 's/.*picture finished after \([0-9.]*\) s.*/\1/p'
}

median() { sort -n | sed -n 2p; }

plain=()
live=()
for _ in 1 2 3; do
  plain+=("$(scripts/viewer-run.sh 100000000 3 4 | secondsOf)")
  live+=("$(scripts/viewer-run.sh --live 100000000 3 4 | secondsOf)")
done
plainMedian=$(printf '%s\n' "${plain[@]}" | median)
liveMedian=$(printf '%s\n' "${live[@]}" | median)
[[ -n "$plainMedian" && -n "$liveMedian" ]] || { echo "live-cost: a run gave no figure" >&2; exit 1; }
awk -v plain="$plainMedian" -v live="$liveMedian" 'BEGIN {
  printf "10^8 iterations of pattern 3: %.2f s without --live, %.2f s with it (median of 3): %+.1f %%\n",
         plain, live, 100 * (live / plain - 1)
}'
