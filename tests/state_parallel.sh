#!/usr/bin/env bash
# One picture spread over jobs as on a farm: GNU parallel runs two jobs here, which draw the three
# parts of a render on one thread each; added on one "machine", they must give the file one run
# on two threads wrote, byte for byte. Usage: state_parallel.sh FLAMES GENOME.flame
set -euo pipefail
flames=$1 genome=$2
command -v parallel >/dev/null || { echo "no GNU parallel: scripts/install-deps.sh installs it"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

"$flames" --genome "$genome" --size 64x48 --quality 40 --seed 5 --threads 2 \
  --save "$work/one.png" >/dev/null
# -q: the command's words are quoted for the shell parallel runs them in (a path may hold a blank).
parallel --will-cite -q -j2 "$flames" --genome "$genome" --size 64x48 --quality 40 --seed 5 \
  --threads 1 --part {}/3 --save-state "$work/part-{}.state" ::: 3 1 2 >/dev/null
"$flames" --resume "$work/part-2.state" --resume "$work/part-3.state" \
  --resume "$work/part-1.state" --save "$work/added.png" >/dev/null
cmp "$work/one.png" "$work/added.png"
echo "three parts of two parallel jobs add into the picture of one run"
