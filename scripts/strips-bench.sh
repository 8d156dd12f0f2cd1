#!/usr/bin/env bash
# What strips cost: bench-a.flame at 4000 x 3000, supersample 2, in one piece and in 8 strips
# (the same file, checked), each run's seconds and peak resident memory (/usr/bin/time -v); then
# 12000 x 12000 at supersample 2, some 22 GiB of buckets in one piece, drawn with --memory 3000,
# its strips, seconds and peak against the bound. Low quality, so that it all takes minutes.
# Takes the build folder from $BUILD like viewer-run.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/viewer-lib.sh

genome="$work/poster.flame"
sed 's/supersample="[0-9]*"/supersample="2"/' tests/genome/data/bench-a.flame >"$genome"

# Runs the viewer on the genome with the options given, to $work/$name.png: "SECONDS PEAK_MIB".
measure() {
  local name=$1
  shift
  /usr/bin/time -v -o "$work/report" "$viewer" --genome "$genome" --seed 7 "$@" \
    --save "$work/$name.png" >/dev/null 2>"$work/said"
  local kib wall
  kib=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/report")
  wall=$(awk -F'): ' '/Elapsed \(wall clock\)/ {print $2}' "$work/report")
  [[ -n "$kib" ]] || { echo "strips-bench: /usr/bin/time wrote no figure" >&2; exit 1; }
  awk -v wall="$wall" -v kib="$kib" 'BEGIN {
    n = split(wall, part, ":"); s = 0
    for (i = 1; i <= n; i++) s = s * 60 + part[i]
    printf "%.1f %d\n", s, kib / 1024
  }'
}

read -r whole_s whole_mib < <(measure whole --size 4000x3000 --quality 20)
read -r strips_s strips_mib < <(measure strips --size 4000x3000 --quality 20 --strips 8)
cmp -s "$work/whole.png" "$work/strips.png" || { echo "strips-bench: 8 strips differ" >&2; exit 1; }
echo "4000x3000 supersample 2, quality 20: one piece ${whole_s} s, peak ${whole_mib} MiB;" \
  "8 strips ${strips_s} s, peak ${strips_mib} MiB (the same file);" \
  "$(awk -v a="$strips_s" -v b="$whole_s" 'BEGIN { printf "%.2f", a / b }') times the time"
rm -f "$work"/*.png

read -r big_s big_mib < <(measure big --size 12000x12000 --quality 1 --memory 3000)
echo "12000x12000 supersample 2, quality 1, --memory 3000: ${big_s} s, peak ${big_mib} MiB;" \
  "$(sed 's/^flames: //' "$work/said")"
