#!/usr/bin/env bash
# The run command as a new user meets it on a machine without a desktop: in
# a prefix that has never seen Quillon, with DISPLAY unset, "run" leaves the
# runtime resident with its window, "config" opens the configurator on the
# settings that run wrote, and "stop" ends both and leaves no process of the
# prefix behind, its private Xvfb included. Expects the Windows build to be
# there.
#
# The prefix is a copy of the tests' booted prefix (booting a new one takes
# half a minute) without Quillon's settings and with no Wine process of it
# running, so "run" still starts its first Wine process of the session.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/wine-processes.sh
. "$repo/scripts/wine-processes.sh"
booted="${QUILLON_WINEPREFIX:-$repo/build/windows/wineprefix}"
unset DISPLAY WINEPREFIX QUILLON_WINEPREFIX
work=$(mktemp -d)
export QUILLON_RUN_PREFIX="$work/prefix"
prefix=$QUILLON_RUN_PREFIX
failed=0

fail() {
  echo "FAILED: $*"
  failed=1
}

# Whatever a failure left running goes, so that no later step inherits it.
clean_up() {
  if [ -n "$(prefix_pids "$prefix")" ]; then
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
    sleep 1
    for pid in $(prefix_pids "$prefix"); do kill "$pid" 2>/dev/null; done
  fi
  rm -rf "$work" "$prefix.lock"
}
trap clean_up EXIT

ms() { echo $(($(date +%s%N) / 1000000)); }
test_started=$(ms)

# What the verbs start is built here once, so that they skip install-deps
# and the build.
(cd "$repo" && cmake --build --preset windows -j2 --target quillon QuillonConfig quillon_help stand_in_mapper window_probe >/dev/null) ||
  { echo "FAILED: the programs of the run command do not build"; exit 1; }
export QUILLON_RUN_BUILT=1
WINEPREFIX="$booted" "$repo/scripts/prepare-wine-prefix.sh" || exit 1

# Hard links for the files that Wine only reads, copies of the registry that
# it writes. A server of the booted prefix that still runs replaces its
# registry files whole, so no copy catches one half written. A prefix older
# than the installed Wine would be brought up to date in place by its first
# Wine command, and is copied whole instead.
if [ "$(tr -d '\r\n' <"$booted/.update-timestamp" 2>/dev/null)" = "$(stat -c %Y /usr/share/wine/wine.inf 2>/dev/null)" ]; then
  cp -al "$booted" "$prefix" || exit 1
  rm -f "$prefix"/*.reg
  cp -p "$booted"/*.reg "$prefix"/ || exit 1
else
  cp -a --reflink=auto "$booted" "$prefix" || exit 1
fi
# Quillon's settings (keys under Software\KWP\Quillon) and data folder go.
awk '/^\[/ { skip = index($0, "[Software\\\\KWP\\\\Quillon]") == 1 || index($0, "[Software\\\\KWP\\\\Quillon\\\\") == 1 }
  !skip' "$booted/user.reg" >"$prefix/user.reg" || exit 1
rm -rf "$prefix/drive_c/ProgramData/KWP"
echo "(built and the prefix copied in $(($(ms) - test_started)) ms)"

# The probe, on the command's private display: milliseconds, class, title,
# list items.
probe() {
  DISPLAY=":$(head -n 1 "$work/run-xvfb.display" 2>/dev/null)" QUILLON_WINEPREFIX="$prefix" \
    "$repo/scripts/wine-run.sh" "$repo/build/windows/bin/window_probe.exe" "$@" >/dev/null 2>&1
}

verb() {
  local started
  started=$(ms)
  echo "--- scripts/run.sh $*"
  "$repo/scripts/run.sh" "$@" >"$work/out" 2>&1
  local status=$?
  sed 's/^/    /' "$work/out"
  echo "    (exit status $status, $(($(ms) - started)) ms)"
  return $status
}

verb || fail "run"
sleep 1  # a runtime that ends at start does so at once: give it the chance
[ -n "$(program_pids "$prefix" quillon.exe)" ] || fail "no quillon.exe runs after run"
probe 5000 Quillon "" || fail "the runtime's window is not there after run"

# A map file that is in no settings: the configurator's list of the maps in
# use holds the two of the settings tree, and only them, when it read them.
data="$prefix/drive_c/ProgramData/KWP/QuillonConfig"
mkdir -p "$data" && : >"$data/Spare.ugc"
verb config || fail "config"
probe 5000 "#32770" " Quillon Configurator" Analog 8-Way ||
  fail "the configurator does not show the settings that run wrote"

xvfb=$(cat "$work/run-xvfb.pid" 2>/dev/null)
verb stop || fail "stop"
grep -q "Quillon stopped." "$work/out" || fail "stop did not say it stopped the runtime"
# An ended Xvfb whose parent has not reaped it yet counts as gone.
xvfb_gone() { [ -n "$xvfb" ] && ! awk '$3 != "Z" { found = 1 } END { exit !found }' "/proc/$xvfb/stat" 2>/dev/null; }
for _ in $(seq 50); do
  [ -z "$(prefix_pids "$prefix")" ] && xvfb_gone && break
  sleep 0.1
done
[ -z "$(prefix_pids "$prefix")" ] || fail "processes of the prefix left after stop: $(prefix_pids "$prefix" | tr '\n' ' ')"
xvfb_gone || fail "the private Xvfb is still there after stop"

echo "(the test took $(($(ms) - test_started)) ms)"
[ "$failed" -eq 0 ] && echo "The run command works without a desktop."
exit "$failed"
