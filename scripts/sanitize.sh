#!/usr/bin/env bash
# The whole suite again, built with the sanitizers into the folder $SANITIZE_BUILD (default
# build-sanitize). Address reports are written to files of its sanitizer-reports/ rather than to
# standard error, so that one from a process whose exit status no test looks at (the viewer that
# an end-to-end test kills) still fails the run, and so that no report mixes with the output the
# tests compare. Undefined behaviour ends the process at its first report, on standard error
# (GCC's runtime does not take log_path when built together with the address sanitizer), which
# fails the test that ran it. The end-to-end tests preload their own libraries into the viewer,
# ahead of the sanitizer runtime: hence no check of the link order. Then the tests of runs on
# several threads again, built with ThreadSanitizer into $TSAN_BUILD (default build-tsan), which
# cannot go together with the address sanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${SANITIZE_BUILD:-build-sanitize}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLAMES_SANITIZE=ON
cmake --build "$build" -j2

# The reports of an earlier run go; nothing but that one folder inside the build is removed,
# and never one at the top of the file system (a build folder given as /).
buildPath=$(cd "$build" && pwd -P)
reports="$buildPath/sanitizer-reports"
if [[ "$buildPath" == / ]]; then
  echo "sanitize: refusing to clear $reports: the build folder is the root folder" >&2
  exit 1
fi
rm -rf -- "$reports"
mkdir -p -- "$reports"

# Quoted: the sanitizers' option parser splits values at blanks.
asanChecks="verify_asan_link_order=0:detect_leaks=1:detect_stack_use_after_return=1"
asanChecks+=":check_initialization_order=1:strict_init_order=1"
status=0
ASAN_OPTIONS="log_path='$reports/asan':$asanChecks" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$build" --output-on-failure --no-tests=error -j2 || status=1
for report in "$reports"/*; do
  [[ -e "$report" ]] || continue
  echo "sanitize: report $report:" >&2
  cat -- "$report" >&2
  status=1
done

tsanBuild="${TSAN_BUILD:-build-tsan}"
cmake -S . -B "$tsanBuild" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLAMES_TSAN=ON
cmake --build "$tsanBuild" -j2 --target thread_tests genome_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir "$tsanBuild" -L threads --output-on-failure --no-tests=error || status=1
exit $status
