#!/usr/bin/env bash
# A JWildfire flame drawn by the genome renderer and by JWildfire's own renderer (jwf-render,
# the command $JWF_RENDER names; JWildfire is not part of this tree) at the same size,
# quality and threads (FLAMES_BENCH_SIZE, default 400x300; quality 100; 2 threads), in
# alternating pairs (FLAMES_BENCH_PAIRS, default 2): each one's median wall time, JWildfire's
# with its start (it says its render alone too, the last of its lines), and ours over theirs.
# Skipped, with a line saying why, where java or jwf-render is missing. Run from the checkout,
# after building $BUILD (default build).
set -euo pipefail
cd "$(dirname "$0")/.."

build="${BUILD:-build}"
flames="$build/flames"
jwf="${JWF_RENDER:-}"
pairs="${FLAMES_BENCH_PAIRS:-2}"
size="${FLAMES_BENCH_SIZE:-400x300}"
flame=bench/flames/jwildfire-2.flame
quality=100
threads=2
if ! [[ "$pairs" =~ ^[1-9][0-9]{0,2}$ ]]; then
  echo "jwildfire-bench: FLAMES_BENCH_PAIRS must be a whole number from 1 to 999: $pairs" >&2
  exit 2
fi
if ! [[ "$size" =~ ^([1-9][0-9]{1,3})x([1-9][0-9]{1,3})$ ]]; then
  echo "jwildfire-bench: FLAMES_BENCH_SIZE must be WxH: $size" >&2
  exit 2
fi
width=${BASH_REMATCH[1]} height=${BASH_REMATCH[2]}
if ! command -v java >/dev/null; then
  echo "jwildfire-bench: skipped: no java (scripts/install-deps.sh installs openjdk-17-jre-headless)"
  exit 0
fi
if [[ -z "$jwf" || ! -x "$jwf" ]]; then
  echo "jwildfire-bench: skipped: no JWildfire renderer${jwf:+ at $jwf} (set JWF_RENDER to its jwf-render)"
  exit 0
fi
for tool in "$flames" /usr/bin/time; do
  if [[ ! -x "$tool" ]]; then
    echo "jwildfire-bench: no $tool (build it, or install time)" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

seconds() {  # the wall-clock seconds of a command, its output kept in $work/said
  if ! /usr/bin/time -f %e -o "$work/time" "$@" > "$work/said" 2>&1; then
    echo "jwildfire-bench: $1 failed:" >&2
    tail -5 "$work/said" >&2
    exit 1
  fi
  cat "$work/time"
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

: > "$work/ours"
: > "$work/theirs"
: > "$work/render"
for ((i = 1; i <= pairs; i++)); do
  seconds "$flames" --genome "$flame" --size "$size" --quality "$quality" --threads "$threads" \
    --seed "$i" --save "$work/ours.png" >> "$work/ours"
  JWF_THREADS=$threads seconds "$jwf" "$flame" 0 "$width" "$height" "$quality" \
    "$work/theirs.png" "$i" >> "$work/theirs"
  sed -n 's/.* render \([0-9.]*\)s.*/\1/p' "$work/said" >> "$work/render"
done
ours=$(median < "$work/ours")
theirs=$(median < "$work/theirs")
render=$(median < "$work/render")
echo "jwildfire-bench: $flame at $size, quality $quality, $threads threads, $pairs pairs:"
echo "  ours ${ours}s, jwf-render ${theirs}s (its render alone ${render}s);" \
  "ours/theirs $(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", a / b }')," \
  "ours/its render $(awk -v a="$ours" -v b="$render" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')"
