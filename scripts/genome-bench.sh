#!/usr/bin/env bash
# The genome renderer against flam3-render: the three genomes tests/genome/data/bench-{a,b,c}.flame
# (random genomes flam3-genome made from the 49 variations, sized 640 x 480 at quality 100,
# committed so that every run draws the same), each rendered by both on 2 threads at the same
# size, quality and seed, the median ratio of their times in five alternating pairs (the goal
# is at most 0.5) and our samples a second on each core. Then the time of bench-3d.flame,
# written for the bench with the editors' 3D variations, pre_ and post_ forms and camera, ours
# alone (flam3-render cannot draw it), at the same size and quality. Then the peak memory of a
# 1920 x 1080 and of a 3840 x 2160 render at supersample 2 (quality 1: the bins' cost, not the
# time); the time a random genome and a mutation take (the window's r and m keys wait for
# them), seeds 1 to 12; and a 4K poster at quality 1024, timed, with its peak memory (some
# minutes; FLAMES_BENCH_QUICK=1 leaves it out). Run from the checkout, after building $BUILD
# (default build).
set -euo pipefail
cd "$(dirname "$0")/.."

build="${BUILD:-build}"
flames="$build/flames"
random="$build/bench/genome_random"
for tool in "$flames" "$random" /usr/bin/time; do
  [[ -x "$tool" ]] || { echo "genome-bench: no $tool (build it, or install time)" >&2; exit 1; }
done
if ! command -v flam3-render >/dev/null; then
  echo "genome-bench: no flam3-render: scripts/install-deps.sh installs flam3-utils" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

seconds() {  # the wall-clock seconds of a command, its output dropped
  /usr/bin/time -f %e -o "$work/time" "$@" > /dev/null 2>&1
  cat "$work/time"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Five pairs a genome, flam3-render and ours in turn, so that a drift of the machine's speed
# weighs on both: the medians of the times and of the pairs' ratios. Samples per second per
# core: quality samples a pixel, 640 x 480 pixels, on 2 threads.
echo "genome                 flam3-render    ours   ours/flam3  ours: samples/s a core"
for genome in tests/genome/data/bench-{a,b,c}.flame; do
  : > "$work/pairs"
  for run in 1 2 3 4 5; do
    theirs=$(seconds env nthreads=2 isaac_seed=1 out="$work/theirs.png" flam3-render < "$genome")
    ours=$(seconds "$flames" --genome "$genome" --save "$work/ours.png" --threads 2 --seed 1)
    echo "$theirs $ours" >> "$work/pairs"
  done
  theirs=$(awk '{ print $1 }' "$work/pairs" | median)
  ours=$(awk '{ print $2 }' "$work/pairs" | median)
  ratio=$(awk '{ print $2 / $1 }' "$work/pairs" | median)
  printf '%-22s %10.2f s %6.2f s %8.2f %12.1f M\n' "$(basename "$genome")" "$theirs" "$ours" \
    "$ratio" "$(awk "BEGIN { print 100 * 640 * 480 / $ours / 2e6 }")"
done

genome=tests/genome/data/bench-3d.flame
printf '%-22s %10s   %6.2f s\n' "$(basename "$genome")" "-" \
  "$(seconds "$flames" --genome "$genome" --save "$work/ours.png" --threads 2 --seed 1)"

# Peak memory: the genome at supersample 2, framed alike at each size.
sed 's/supersample="1"/supersample="2"/' tests/genome/data/bench-a.flame > "$work/ss2.flame"
for size in 1920x1080 3840x2160; do
  /usr/bin/time -f %M -o "$work/memory" "$flames" --genome "$work/ss2.flame" \
    --save "$work/big.png" --size "$size" --quality 1 --threads 2 > /dev/null
  width=${size%x*} height=${size#*x}
  # The bucket grid: S·W + 2g by S·H + 2g, the gutter g = 9·2 + 1 at the default estimator.
  buckets=$(( (2 * width + 38) * (2 * height + 38) ))
  printf '%s supersample 2: peak %d MiB; bound 48 bytes a bucket + 200 MiB = %d MiB\n' "$size" \
    $(( $(cat "$work/memory") / 1024 )) $(( (48 * buckets >> 20) + 200 ))
done

# Random genomes and mutations: the slowest seed and the mean.
"$random" 1 12 --mutations 3 > "$work/random"
awk '$1 == "seed" { if ($3 > most) most = $3 } $2 == "mutations:" { m += $3; n++ }
     END { printf "random genomes, seeds 1 to 12: slowest %.3f s; a mutation %.3f s on average\n",
                  most, m / n }' "$work/random"
tail -1 "$work/random" | sed 's/^/random genomes: /'

# A 4K poster: bench-a.flame at 3840 x 2160, quality 1024 (8.5 billion samples), 2 threads.
if [[ -z "${FLAMES_BENCH_QUICK:-}" ]]; then
  /usr/bin/time -f '%e %M' -o "$work/poster" "$flames" --genome tests/genome/data/bench-a.flame \
    --size 3840x2160 --quality 1024 --threads 2 --seed 1 --save "$work/poster.png" > /dev/null
  read -r poster_seconds poster_kib < "$work/poster"
  printf '3840 x 2160 at quality 1024, 2 threads: %.0f s, %.1f M samples/s a core, peak %d MiB\n' \
    "$poster_seconds" "$(awk "BEGIN { print 1024 * 3840 * 2160 / $poster_seconds / 2e6 }")" \
    $(( poster_kib / 1024 ))
fi
