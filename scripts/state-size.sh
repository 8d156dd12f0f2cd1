#!/usr/bin/env bash
# What a render's state takes on disk: tests/genome/data/bench-a.flame at 1920 x 1080, quality
# 50, its state saved beside nothing else; the file's size against the bucket grid it keeps (40
# bytes a bucket), and the seconds of the run. Takes the build folder from $BUILD like
# viewer-run.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/viewer-lib.sh

width=1920 height=1080
start=$(date +%s.%N)
"$viewer" --genome tests/genome/data/bench-a.flame --size "${width}x${height}" --quality 50 \
  --seed 1 --save-state "$work/bench.state" >/dev/null
end=$(date +%s.%N)
bytes=$(stat -c %s "$work/bench.state")
# The grid has the filter's gutter around the picture: the buckets are those the state says.
awk -v bytes="$bytes" -v w="$width" -v h="$height" -v s="$start" -v e="$end" 'BEGIN {
  printf "state of a %dx%d render at quality 50: %.1f MiB (%.2f bytes a pixel, %.1f %% of the",
         w, h, bytes / 1048576, bytes / (w * h), 100 * bytes / (40 * w * h)
  printf " grid'\''s 40 bytes a bucket); the run with it %.1f s\n", e - s
}'
