#!/usr/bin/env bash
# Builds and runs every test: the native unit tests (with sanitizers), the
# Windows tests and system tests under Wine, and bounded fuzz runs. Exits
# non-zero when anything fails.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
"$repo/scripts/install-deps.sh" || exit 1

failures=()
started=$(mktemp)
step() {
  echo "=== $*"
  "$@" || { echo "*** failed: $*"; failures+=("$*"); }
}

# CI keeps only the end of what this prints, so the end names what failed:
# each failed step and, for a test run, each failed test with the last lines
# it printed.
failed_tests_of() {
  local testing="$repo/build/$1/Testing/Temporary"
  # ctest leaves the list of an earlier run in place when all pass.
  [ "$testing/LastTestsFailed.log" -nt "$started" ] || return 0
  while IFS=: read -r _ name; do
    echo "--- failed test $name ($1), its last lines:"
    awk -v name="$name" '
      $0 ~ "Testing: " name "$" { inside = 1; next }
      inside && index($0, "\"" name "\" end time") { inside = 0 }
      inside' "$testing/LastTest.log" | tail -n 40
  done < "$testing/LastTestsFailed.log"
}

step "$repo/scripts/check-format.sh"

step cmake --preset native
step cmake --build --preset native -j2
step ctest --preset native -j2

step cmake --preset windows
step cmake --build --preset windows -j2
export QUILLON_WINEPREFIX="$repo/build/windows/wineprefix"
WINEPREFIX="$QUILLON_WINEPREFIX" step "$repo/scripts/prepare-wine-prefix.sh"
# One Windows program at a time: they share one desktop, its focus and
# keyboard state, and a menu open in one of them holds up others' windows.
step xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows -j1
# The run command as a new user meets it: a prefix without Quillon in it (a
# copy of the one above), no display.
step "$repo/tests/system/run_command_test.sh"

if [ -x "$repo/scripts/run-fuzzers.sh" ]; then
  step "$repo/scripts/run-fuzzers.sh" "${QUILLON_FUZZ_SECONDS:-20}"
fi

if [ "${#failures[@]}" -ne 0 ]; then
  for preset in native windows; do failed_tests_of "$preset"; done
  printf '*** failed step: %s\n' "${failures[@]}"
  echo "${#failures[@]} step(s) failed"
  exit 1
fi
echo "All tests passed"
