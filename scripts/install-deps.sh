#!/usr/bin/env bash
# Installs the Debian packages the viewer needs: `install-deps.sh run` what building and running
# it takes (make run), `install-deps.sh` (or `all`) that and what the tests and benchmarks add.
# Quick and silent when everything is there; uses sudo when not run as root. Off Debian (no
# apt-get or dpkg-query) it only names the packages and leaves CMake to say what is missing.
set -euo pipefail

runPackages=(
  cmake g++ make                              # the build
  libgl-dev libglu1-mesa-dev libglut-dev      # OpenGL, GLU, GLUT
  libgl1-mesa-dri                             # Mesa's software GL, for machines without a GPU
  libpng-dev libx11-dev                       # saved pictures; the display, asked at start
  libpugixml-dev                              # flame genomes (.flame XML)
  libopenexr-dev                              # pictures as OpenEXR
  flam3-palette                               # the numbered palettes genomes name
)
testPackages=(
  libgtest-dev libbenchmark-dev               # unit tests and benchmarks
  xvfb xauth x11-utils                        # end-to-end tests in a private X server
  valgrind                                    # memory checks of the running viewer
  time procps                                 # make bench: peak memory of the viewer
  dpkg-dev file lintian                       # the Debian package: cpack -G DEB, its check
  flam3-utils                                 # the reference renderer genomes are tested on
  parallel                                    # frames drawn by two jobs, as on a farm
  openjdk-17-jre-headless                     # make bench: JWildfire's renderer, to compare
)

case "${1:-all}" in
  run) packages=("${runPackages[@]}") ;;
  all) packages=("${runPackages[@]}" "${testPackages[@]}") ;;
  *) echo "usage: $0 [run|all]" >&2; exit 2 ;;
esac

if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
  echo "install-deps: no apt-get here; on Debian this would install: ${packages[*]}" >&2
  exit 0
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "install-deps: installing ${missing[*]}" >&2
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null; then
    echo "install-deps: need root or sudo to install ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
