#!/usr/bin/env bash
# What threads buy: the wall time of one --save of 10^8 iterations of each compound pattern with
# 1 and with 2 threads (the same picture either way), the second against the first; then the time
# of a run of 2147483647 iterations of each single-function pattern that settles on a cycle, whose
# rest follows at once (patterns 6, 8 and 15 settle on none: such a run of them takes minutes).
# Each time includes writing the 800 x 800 PNG file. Takes the build folder from $BUILD like
# viewer-run.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/viewer-lib.sh

now() { echo "${EPOCHREALTIME/[,.]/}"; }  # microseconds

seconds() {  # the wall seconds of one saving run with these options
  local start
  start=$(now)
  "$viewer" --colouring 1 --seed 7 --save "$work/picture.png" "$@" >/dev/null
  awk -v us=$(( $(now) - start )) 'BEGIN { printf "%.2f", us / 1e6 }'
}

echo "| pattern | 10^8 iterations, 1 thread | 2 threads | ratio |"
echo "|---:|---:|---:|---:|"
for pattern in 1 2 3 4 5; do
  one=$(seconds --iterations 100000000 --pattern "$pattern" --threads 1)
  two=$(seconds --iterations 100000000 --pattern "$pattern" --threads 2)
  awk -v p="$pattern" -v one="$one" -v two="$two" \
    'BEGIN { printf "| %d | %.2f s | %.2f s | %.2f |\n", p, one, two, two / one }'
done

echo
echo "| pattern | 2147483647 iterations |"
echo "|---:|---:|"
for pattern in 7 9 10 11 12 13 14 16 17 18 19 20; do
  echo "| $pattern | $(seconds --iterations 2147483647 --pattern "$pattern" --threads 1) s |"
done
