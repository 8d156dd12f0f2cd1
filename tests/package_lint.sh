#!/usr/bin/env bash
# package_lint.sh CPACK LINTIAN CPACK_CONFIG: builds the Debian package of a build folder into a
# scratch folder under $TMPDIR and fails, with lintian's report, when lintian finds an error in
# it. The scratch folder goes afterwards, whatever happened, also on a hangup, ^C or TERM.
set -euo pipefail
cpack="$1" lintian="$2" config="$3"

scratch="$(mktemp -d -t flames-package.XXXXXX)"
trap 'rm -rf -- "$scratch"' EXIT
trap 'exit 1' HUP INT TERM

if ! log=$("$cpack" --config "$config" -G DEB -B "$scratch" 2>&1); then
  printf 'package_lint: cpack failed:\n%s\n' "$log" >&2
  exit 1
fi
shopt -s nullglob
packages=("$scratch"/*.deb)
if [[ ${#packages[@]} -ne 1 ]]; then
  printf 'package_lint: cpack made %d packages, not one:\n%s\n' "${#packages[@]}" "$log" >&2
  exit 1
fi
# Errors only: warnings and lesser tags come and go with lintian's version. Lintian's own
# temporary files go to the scratch folder too: it leaves some of them behind.
if ! report=$(TMPDIR="$scratch" "$lintian" --fail-on error "${packages[0]}" 2>&1); then
  printf 'package_lint: lintian finds errors in %s:\n%s\n' "${packages[0]##*/}" "$report" >&2
  exit 1
fi
echo "package_lint: ${packages[0]##*/} passes lintian"
