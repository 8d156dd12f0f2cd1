#!/usr/bin/env bash
# Peak resident memory of the viewer for a long run, measured by /usr/bin/time -v in a private
# Xvfb. Arguments: the three answers (default 10^8 iterations of pattern 1 in black and white).
# The viewer is the one in the build folder $BUILD (default build). It never ends by itself, so
# it is stopped once its window is up and it has gone idle; a viewer that ends before, or never
# gets there, is a failure and no figure is printed.
set -euo pipefail
cd "$(dirname "$0")/.."

viewer="${BUILD:-build}/flames"
if [[ ! -x "$viewer" ]]; then
  echo "peak-rss: no viewer at $viewer; build it first (make build, or BUILD=folder)" >&2
  exit 1
fi
if [[ -z "${PEAK_RSS_IN_XVFB:-}" ]]; then
  PEAK_RSS_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

answers="${1:-100000000} ${2:-1} ${3:-1}"
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

fail() {
  echo "peak-rss: $1; no figure" >&2
  [[ -s "$work/errors" ]] && sed 's/^/  viewer: /' "$work/errors" >&2
  exit 1
}

echo "$answers" | /usr/bin/time -v -o "$work/report" "$viewer" >/dev/null 2>"$work/errors" &
timer=$!
pid=""
idle=0
for _ in $(seq 3000); do  # five minutes at most
  sleep 0.1
  kill -0 "$timer" 2>/dev/null || fail "the viewer ended by itself before its picture was shown"
  pid=${pid:-$(pgrep -P "$timer" || true)}
  [[ -n "$pid" ]] || continue
  state=$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null || echo gone)
  # Asleep in the event loop, several looks in a row: the run is over and the frame drawn.
  if [[ "$state" == S ]] && xwininfo -name "Vemo's Fractal Flame Test" >/dev/null 2>&1; then
    idle=$((idle + 1))
    [[ $idle -ge 5 ]] && break
  else
    idle=0
  fi
done
if [[ $idle -lt 5 ]]; then
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null
  fail "the viewer did not show its picture within five minutes"
fi

# Where the memory sits: the program's own data, or the GL driver loaded into the process.
breakdown=$(awk '
  /^[0-9a-f]+-[0-9a-f]+ / { name = (NF >= 6) ? $6 : "[anonymous]" }
  /^Rss:/ {
    if (name ~ /dri|LLVM|gallium|glapi|GLX|libGL|drm|z3/) gl += $2
    else if (name ~ /^\[(heap|anonymous)\]$/) anon += $2
    else other += $2
  }
  END {
    printf "GL driver libraries %d MiB; heap and anonymous %d MiB (20 MiB of it", gl / 1024, anon / 1024
    printf " the image buffer, 10 MiB the row-order copy it is drawn from, the rest the GL"
    printf " driver'"'"'s); the program and other libraries %d MiB", other / 1024
  }
' "/proc/$pid/smaps")
kill "$pid"
wait "$timer" 2>/dev/null || true  # ended by the signal, as intended
kib=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/report")
[[ -n "$kib" ]] || fail "/usr/bin/time wrote no figure"
echo "peak RSS of the viewer for the answers '$answers': $kib KiB ($((kib / 1024)) MiB)"
echo "  at rest: $breakdown"
