#!/usr/bin/env bash
# Genome pictures do not hang on the C library's maths: under a shim that moves sin, cos, atan2,
# exp, log, pow and their kin one ulp, a still genome (3D camera, pre_ and post_ forms), one
# with pow and atan2 at every step, a frame between keyframes and a random genome are the same
# bytes as without it; a pattern run, which keeps the C library's functions by design, changes,
# which shows the shim took. Usage: maths_independent.sh FLAMES SHIM.so GENOME_DATA_DIR
set -euo pipefail
flames=$1 shim=$2 data=$3
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
# LD_PRELOAD splits its list at blanks: the shim is preloaded from a copy in the scratch folder.
if [[ "$work" == *[[:space:]:]* ]]; then
  echo "a scratch folder without blanks is needed: $work"
  exit 1
fi
cp -- "$shim" "$work/moved-maths.so"

draw() {  # NAME ARGUMENTS...: drawn without the shim and with it
  local name=$1
  shift
  "$flames" "$@" --threads 2 --save "$work/$name-plain.png" > /dev/null
  LD_PRELOAD="$work/moved-maths.so" \
    "$flames" "$@" --threads 2 --save "$work/$name-moved.png" > /dev/null
}

draw 3d --genome "$data/bench-3d.flame" --size 160x120 --quality 20 --seed 3
draw julian --genome "$data/bench-c.flame" --size 160x120 --quality 20 --seed 3
draw frame --genome "$data/keyframes.flame" --frame 0.5 --seed 3
draw random --random-genome 5 --size 120x120 --quality 10 --seed 3
for name in 3d julian frame random; do
  cmp "$work/$name-plain.png" "$work/$name-moved.png"
done

draw pattern --pattern 5 --iterations 300000
if cmp -s "$work/pattern-plain.png" "$work/pattern-moved.png"; then
  echo "the shim moved nothing: a pattern run, on the C library's maths, is unchanged"
  exit 1
fi
echo "4 genome pictures the same under moved C library maths; a pattern run moved"
