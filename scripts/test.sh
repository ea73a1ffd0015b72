#!/usr/bin/env bash
# Builds and runs every test: the native unit tests (with sanitizers), the
# Windows tests and system tests under Wine, and bounded fuzz runs. Exits
# non-zero when anything fails.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
"$repo/scripts/install-deps.sh" || exit 1

failed_steps=$(mktemp)
started=$(mktemp)
trap 'rm -f "$failed_steps" "$started"' EXIT
# A step's failure is written down rather than kept in a variable, so that
# steps run in the background count too.
step() {
  local began=$SECONDS
  echo "=== $*"
  if ! "$@"; then
    echo "*** failed: $*"
    echo "$*" >>"$failed_steps"
  fi
  echo "=== $(($SECONDS - began)) s: $*"
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

# The Windows half first. Its tests under Wine are the longest step, and
# mostly wait (for a window, a timer, another process), so they run beside
# the native build and tests, which take the processor time they leave.
export QUILLON_WINEPREFIX="$repo/build/windows/wineprefix"
# Booting the prefix is half a minute of mostly waiting: it goes on while
# the programs compile.
WINEPREFIX="$QUILLON_WINEPREFIX" "$repo/scripts/prepare-wine-prefix.sh" >/dev/null 2>&1 &
booting=$!
step cmake --preset windows
step cmake --build --preset windows -j2
wait "$booting"
WINEPREFIX="$QUILLON_WINEPREFIX" step "$repo/scripts/prepare-wine-prefix.sh"

wine_log=$(mktemp)
(
  # One Windows program at a time: they share one desktop, its focus and
  # keyboard state, and a menu open in one of them holds up others' windows.
  step xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows -j1
  # The run command as a new user meets it: a prefix without Quillon in it
  # (a copy of the one above), no display.
  step "$repo/tests/system/run_command_test.sh"
) >"$wine_log" 2>&1 &
wine_steps=$!

# Niced, so that the Wine tests' waits for windows and timers are not
# stretched by a compiler holding both cores.
step nice -n 15 cmake --preset native
step nice -n 15 cmake --build --preset native -j2
step nice -n 15 ctest --preset native -j2
if [ -x "$repo/scripts/run-fuzzers.sh" ]; then
  step nice -n 15 "$repo/scripts/run-fuzzers.sh" "${QUILLON_FUZZ_SECONDS:-20}"
fi

echo "=== (waiting for the tests under Wine)"
wait "$wine_steps"
cat "$wine_log"
rm -f "$wine_log"

if [ -s "$failed_steps" ]; then
  for preset in native windows; do failed_tests_of "$preset"; done
  sed 's/^/*** failed step: /' "$failed_steps"
  echo "$(wc -l <"$failed_steps") step(s) failed"
  exit 1
fi
echo "All tests passed"
