#!/usr/bin/env bash
# The genome renderer against flam3-render on flames like the ones people share: the flames of
# bench/flames/ (written for the bench in the styles of Electric Sheep, Apophysis, Fractorium,
# JWildfire and FLAM3H, in the reference's vocabulary; bench/flames/README.md lists them), each
# rendered by both on 2 threads at its own size and quality and the same seed, in alternating
# pairs (FLAMES_BENCH_PAIRS, default 5): a line a flame with the min, median and max of each
# one's wall time and the median of the pairs' ratios ours/flam3-render, then the geometric mean
# and the worst of those ratios. Then a flame with the editors' z and xaos, ours alone
# (flam3-render cannot draw it), beside its 2D twin: the samples a second on each core of both.
# Then ten runs of one render of ours: min, median and max of the wall time and max/min, how
# much one run may differ from another. Run from the checkout, after building $BUILD (default
# build).
set -euo pipefail
cd "$(dirname "$0")/.."

build="${BUILD:-build}"
flames="$build/flames"
pairs="${FLAMES_BENCH_PAIRS:-5}"
if ! [[ "$pairs" =~ ^[1-9][0-9]{0,2}$ ]]; then
  echo "real-flames-bench: FLAMES_BENCH_PAIRS must be a whole number from 1 to 999: $pairs" >&2
  exit 2
fi
for tool in "$flames" /usr/bin/time; do
  if [[ ! -x "$tool" ]]; then
    echo "real-flames-bench: no $tool (build it, or install time)" >&2
    exit 1
  fi
done
if ! command -v flam3-render >/dev/null; then
  echo "real-flames-bench: no flam3-render: scripts/install-deps.sh installs flam3-utils" >&2
  exit 1
fi

flat=bench/flames/jwildfire-1.flame  # the 2D twin of the z flame
deep=bench/flames/jwildfire-3d.flame  # the z flame, not in the set flam3-render draws
tenth=bench/flames/apophysis-2.flame  # the flame of the ten runs

work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

seconds() {  # the wall-clock seconds of a command, its output dropped; fails where it fails
  /usr/bin/time -f %e -o "$work/time" "$@" > /dev/null 2> "$work/errors" || return 1
  cat "$work/time"
}

failed() {  # what a failed render said, and the end of the script
  echo "real-flames-bench: $1: $2 failed:" >&2
  tail -5 "$work/errors" >&2
  exit 1
}

theirs() { seconds env nthreads=2 isaac_seed=1 out="$work/theirs.png" flam3-render < "$1"; }
ours() { seconds "$flames" --genome "$1" --save "$work/ours.png" --threads 2 --seed 1; }

# Min, median (the mean of the middle two of an even count) and max of a column of numbers.
spread() {
  sort -g | awk '{ v[NR] = $1 }
    END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          printf "%.2f %.2f %.2f\n", v[1], m, v[NR] }'
}
median() { spread | awk '{ print $2 }'; }

# Quality x width x height of a flame, read from its <flame> element.
samples() {
  tr '\n' ' ' < "$1" | grep -o '<flame [^>]*>' | head -1 |
    awk '{ match($0, / size="[0-9]+ [0-9]+"/); split(substr($0, RSTART + 7, RLENGTH - 8), s, " ")
           match($0, / quality="[0-9.]+"/); q = substr($0, RSTART + 10, RLENGTH - 11)
           print q * s[1] * s[2] }'
}

# The set: pairs of flam3-render then ours, so that a drift of the machine's speed weighs on both.
echo "$pairs alternating pairs a flame, 2 threads each, seed 1; times in seconds"
printf '%-20s %-20s %-20s %s\n' "flame" "flam3-render" "ours" "ours/flam3"
printf '%-20s %-20s %-20s %s\n' "" "min median max" "min median max" "(median)"
: > "$work/ratios"
for flame in bench/flames/*.flame; do
  [[ "$flame" == "$deep" ]] && continue
  : > "$work/pairs"
  for (( run = 1; run <= pairs; run++ )); do
    their=$(theirs "$flame") || failed "$flame" flam3-render
    our=$(ours "$flame") || failed "$flame" flames
    echo "$their $our" >> "$work/pairs"
  done
  ratio=$(awk '{ print $2 / $1 }' "$work/pairs" | median)
  echo "$ratio $(basename "$flame")" >> "$work/ratios"
  printf '%-20s %-20s %-20s %.2f\n' "$(basename "$flame")" \
    "$(awk '{ print $1 }' "$work/pairs" | spread)" "$(awk '{ print $2 }' "$work/pairs" | spread)" \
    "$ratio"
done
awk '{ logs += log($1); if ($1 > worst) { worst = $1; name = $2 } }
     END { printf "%d flames: geometric mean of the ratios %.2f, the worst %.2f (%s)\n",
                  NR, exp(logs / NR), worst, name }' "$work/ratios"

# The z flame and its 2D twin, ours alone, in alternating pairs: samples a second on each core.
: > "$work/pairs"
for (( run = 1; run <= pairs; run++ )); do
  two=$(ours "$flat") || failed "$flat" flames
  three=$(ours "$deep") || failed "$deep" flames
  echo "$two $three" >> "$work/pairs"
done
two=$(awk '{ print $1 }' "$work/pairs" | median)
three=$(awk '{ print $2 }' "$work/pairs" | median)
printf '%s (z, xaos) %.2f s, %.1f M samples/s a core; its 2D twin %s %.2f s, %.1f M\n' \
  "$(basename "$deep")" "$three" "$(awk "BEGIN { print $(samples "$deep") / $three / 2e6 }")" \
  "$(basename "$flat")" "$two" "$(awk "BEGIN { print $(samples "$flat") / $two / 2e6 }")"

# Ten runs of one render of ours: how far apart the times of the same work fall.
: > "$work/runs"
for run in 1 2 3 4 5 6 7 8 9 10; do
  ours "$tenth" >> "$work/runs" || failed "$tenth" flames
done
read -r least middle most < <(spread < "$work/runs")
printf '%s, 10 runs of ours: min %.2f, median %.2f, max %.2f s; max/min %.2f\n' \
  "$(basename "$tenth")" "$least" "$middle" "$most" "$(awk "BEGIN { print $most / $least }")"
