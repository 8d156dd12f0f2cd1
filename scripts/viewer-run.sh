#!/usr/bin/env bash
# One run of the viewer in a private Xvfb, until its picture is finished: the seconds that took
# and the peak resident memory (/usr/bin/time -v), with where the memory sits. Arguments:
# [--live] and the three answers (default 10^8 iterations of pattern 1 in black and white). The
# viewer is the one in the build folder $BUILD (default build). It never ends by itself, so it
# is stopped once its window is up and it has gone idle; a viewer that ends before, or never
# gets there, is a failure and no figure is printed.
set -euo pipefail
cd "$(dirname "$0")/.."

viewer="${BUILD:-build}/flames"
if [[ ! -x "$viewer" ]]; then
  echo "viewer-run: no viewer at $viewer; build it first (make build, or BUILD=folder)" >&2
  exit 1
fi
if [[ -z "${VIEWER_RUN_IN_XVFB:-}" ]]; then
  VIEWER_RUN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

options=()
if [[ "${1:-}" == --live ]]; then
  options=(--live)
  shift
fi
answers="${1:-100000000} ${2:-1} ${3:-1}"
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

fail() {
  echo "viewer-run: $1; no figure" >&2
  [[ -s "$work/errors" ]] && sed 's/^/  viewer: /' "$work/errors" >&2
  exit 1
}

# Seconds since the epoch, to the microsecond, without starting a process.
now() { echo "${EPOCHREALTIME/[,.]/}"; }

start=$(now)
echo "$answers" |
  /usr/bin/time -v -o "$work/report" "$viewer" "${options[@]}" >/dev/null 2>"$work/errors" &
timer=$!
pid=""
idleSince=""
idle=0
# Asleep in the event loop, five looks in a row 20 ms apart: the run is over and the picture
# drawn (waits for the GL driver's own threads are a few milliseconds at most).
for _ in $(seq 15000); do  # five minutes at most
  sleep 0.02
  kill -0 "$timer" 2>/dev/null || fail "the viewer ended by itself before its picture was shown"
  pid=${pid:-$(pgrep -P "$timer" || true)}
  [[ -n "$pid" ]] || continue
  read -r _ _ state _ <"/proc/$pid/stat" || fail "the viewer is gone"
  if [[ "$state" != S ]]; then
    idle=0
    continue
  fi
  [[ $idle -eq 0 ]] && idleSince=$(now)
  idle=$((idle + 1))
  if [[ $idle -ge 5 ]]; then
    xwininfo -name "Vemo's Fractal Flame Test" >/dev/null 2>&1 && break
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
    printf "GL driver libraries %d MiB; heap and anonymous %d MiB (15 MiB of it", gl / 1024, anon / 1024
    printf " the picture: 2.5 MiB of counts, 10 MiB of colours, 2.5 MiB of the bytes it is drawn"
    printf " from; the rest the GL driver'"'"'s); the program and other libraries %d MiB", other / 1024
  }
' "/proc/$pid/smaps")
kill "$pid"
wait "$timer" 2>/dev/null || true  # ended by the signal, as intended
kib=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/report")
[[ -n "$kib" ]] || fail "/usr/bin/time wrote no figure"
seconds=$(( (idleSince - start) / 1000 ))
printf 'viewer %s, answers %s: picture finished after %d.%03d s; peak RSS %d KiB (%d MiB)\n' \
  "${options[*]:-without --live}" "'$answers'" $((seconds / 1000)) $((seconds % 1000)) \
  "$kib" $((kib / 1024))
echo "  at rest: $breakdown"
