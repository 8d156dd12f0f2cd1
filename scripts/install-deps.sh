#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the viewer need.
# Quick and silent when everything is already there; uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake g++ make                       # the build
  libgl-dev libglu1-mesa-dev freeglut3-dev libgl1-mesa-dri   # OpenGL, GLU, GLUT, Mesa's software GL
  libgtest-dev libbenchmark-dev        # unit tests and benchmarks
  libx11-dev libpng-dev xvfb xauth x11-utils x11-apps   # end-to-end tests in a private X server
  valgrind                             # memory checks of the running viewer
  time procps                          # make bench: peak memory of the viewer
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "install-deps: installing ${missing[*]}" >&2
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
