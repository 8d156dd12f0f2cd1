# Sourced by the scripts that time the viewer's saving runs: the viewer of the build folder $BUILD
# (default build), and a scratch folder $work, removed when the script ends.
viewer="${BUILD:-build}/flames"
if [[ ! -x "$viewer" ]]; then
  echo "$(basename "$0"): no viewer at $viewer; build it first (make build, or BUILD=folder)" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
