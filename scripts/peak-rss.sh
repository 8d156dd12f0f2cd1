#!/usr/bin/env bash
# Peak resident memory of the viewer for a long run, measured by /usr/bin/time -v in a private
# Xvfb. Arguments: the three answers (default 10^8 iterations of pattern 1 in black and white).
# The viewer never ends by itself, so it is stopped once its window is up and it has gone idle.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${PEAK_RSS_IN_XVFB:-}" ]; then
  PEAK_RSS_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

answers="${1:-100000000} ${2:-1} ${3:-1}"
report=$(mktemp)
trap 'rm -f "$report"' EXIT

echo "$answers" | /usr/bin/time -v -o "$report" build/flames >/dev/null 2>&1 &
timer=$!
viewer=""
idle=0
for _ in $(seq 1200); do  # two minutes at most
  sleep 0.1
  viewer=${viewer:-$(pgrep -P "$timer" || true)}
  [ -n "$viewer" ] || continue
  state=$(awk '{print $3}' "/proc/$viewer/stat" 2>/dev/null || echo gone)
  [ "$state" = gone ] && break
  # Asleep in the event loop, several looks in a row: the run is over and the frame drawn.
  if [ "$state" = S ] && xwininfo -name "Vemo's Fractal Flame Test" >/dev/null 2>&1; then
    idle=$((idle + 1))
    [ $idle -ge 5 ] && break
  else
    idle=0
  fi
done
# Where the memory sits: the program's own data, or the GL driver loaded into the process.
if [ -n "$viewer" ] && [ -r "/proc/$viewer/smaps" ]; then
  breakdown=$(awk '
    /^[0-9a-f]+-[0-9a-f]+ / { name = (NF >= 6) ? $6 : "[anonymous]" }
    /^Rss:/ {
      if (name ~ /dri|LLVM|gallium|glapi|GLX|libGL|drm|z3/) gl += $2
      else if (name ~ /^\[(heap|anonymous)\]$/) anon += $2
      else other += $2
    }
    END {
      printf "GL driver libraries %d MiB; heap and anonymous %d MiB (20 MiB of it", gl / 1024, anon / 1024
      printf " the image buffer, the rest mostly the GL driver'"'"'s queued points); the program"
      printf " and other libraries %d MiB", other / 1024
    }
  ' "/proc/$viewer/smaps")
fi
[ -n "$viewer" ] && kill "$viewer" 2>/dev/null || true
wait "$timer" 2>/dev/null || true
kib=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$report")
echo "peak RSS of the viewer for the answers '$answers': $kib KiB ($((kib / 1024)) MiB)"
[ -n "${breakdown:-}" ] && echo "  at rest: $breakdown"
