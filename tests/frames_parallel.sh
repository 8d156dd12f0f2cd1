#!/usr/bin/env bash
# Frames spread over jobs as on a farm: GNU parallel runs two jobs here, each a range of frames
# on one thread, and every frame must be the file one run on two threads wrote, byte for byte
# (pixels, genome and seed alike). Usage: frames_parallel.sh FLAMES KEYFRAMES.flame
set -euo pipefail
flames=$1 keyframes=$2
command -v parallel >/dev/null || { echo "no GNU parallel: scripts/install-deps.sh installs it"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
mkdir "$work/one" "$work/farm"

"$flames" --genome "$keyframes" --frames 0:5 --seed 11 --threads 2 --save "$work/one/f"
# -q: the command's words are quoted for the shell parallel runs them in (a path may hold a blank).
parallel --will-cite -q -j2 "$flames" --genome "$keyframes" --frames {} --seed 11 --threads 1 \
  --save "$work/farm/f" ::: 4:5 0:3
for frame in "$work"/one/*.png; do
  cmp "$frame" "$work/farm/$(basename "$frame")"
done
[[ $(ls "$work/farm" | wc -l) -eq 6 ]]
echo "6 frames of two parallel jobs are those of one run"
