#!/usr/bin/env bash
# Frames against flam3-animate: the 30 frames of a loop of tests/genome/data/bench-a.flame at
# 320 x 240, quality 20, each blurred over 10 moments, drawn by both on 2 threads at the same
# samples, and the ratio of their times; the goal is at most 1. Run from the checkout, after
# building $BUILD (default build).
set -euo pipefail
cd "$(dirname "$0")/.."

build="${BUILD:-build}"
flames="$build/flames"
for tool in "$flames" /usr/bin/time flam3-animate; do
  command -v "$tool" >/dev/null || { echo "animation-bench: no $tool" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

# The keyframes of the loop, written by the program itself, as flam3-genome writes a sequence.
sed -e 's/ temporal_samples="[^"]*"//' \
  -e 's/quality="[^"]*"/quality="20" temporal_samples="10"/' tests/genome/data/bench-a.flame \
  > "$work/still.flame"
"$flames" --genome "$work/still.flame" --size 320x240 --loop 30 --write-genome "$work/loop.flame"

seconds() {  # the wall-clock seconds of a command, its output dropped
  /usr/bin/time -f %e -o "$work/time" "$@" > /dev/null 2>&1
  cat "$work/time"
}
mkdir "$work/theirs" "$work/ours"
theirs=$(seconds env nthreads=2 isaac_seed=1 begin=0 end=29 prefix="$work/theirs/" \
  flam3-animate < "$work/loop.flame")
ours=$(seconds "$flames" --genome "$work/loop.flame" --frames 0:29 --threads 2 --seed 1 \
  --save "$work/ours/f")
echo "30 frames, 320 x 240, quality 20, 10 moments each:"
printf 'flam3-animate %.2f s, ours %.2f s, ours/flam3 %.2f\n' "$theirs" "$ours" \
  "$(awk "BEGIN { print $ours / $theirs }")"
