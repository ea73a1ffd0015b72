#!/usr/bin/env bash
# The run command: Quillon under Wine in the project's own prefix
# (build/run-prefix), on $DISPLAY when there is one and otherwise on a private
# Xvfb that the commands share until "stop".
#
#   scripts/run.sh          builds and starts the resident runtime quillon.exe
#   scripts/run.sh config   builds and opens the configurator QuillonConfig.exe
#   scripts/run.sh stop     stops the runtime (and the private Xvfb, if any)
#
# Both programs see the demonstration settings (scripts/demo-settings.reg) that
# a first run writes. The run and config commands report success once the
# program's window exists.
#
# QUILLON_RUN_PREFIX names another prefix (its folder's parent then holds the
# logs and the private display's files instead of build/). QUILLON_RUN_BUILT=1
# says that the programs are built already: install-deps and the build are
# skipped.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
prefix="${QUILLON_RUN_PREFIX:-$repo/build/run-prefix}"
state=$(dirname "$prefix")
bin="$repo/build/windows/bin"
export QUILLON_WINEPREFIX="$prefix" WINEPREFIX="$prefix" WINEARCH=win64
# Debian's wine command warns that 32-bit Wine is missing unless every debug
# channel is off; the programs here are 64-bit and need none of it.
export WINEDEBUG="${WINEDEBUG:--all}"
# The private X server: its process and display number, while it runs.
xvfb_pid_file="$state/run-xvfb.pid"
xvfb_display_file="$state/run-xvfb.display"
# shellcheck source=wine-processes.sh
. "$repo/scripts/wine-processes.sh"

usage() {
  echo "usage: scripts/run.sh [config|stop]" >&2
  exit 2
}

# Processes of this prefix whose program is quillon.exe, whoever started them
# (this script, or the configurator's Apply), started or
# still starting.
runtime_pids() { program_pids "$prefix" quillon.exe; }

private_display_alive() {
  [ -s "$xvfb_pid_file" ] && [ -s "$xvfb_display_file" ] && kill -0 "$(cat "$xvfb_pid_file")" 2>/dev/null
}

# Exports DISPLAY: the user's, the private Xvfb that is already up, or a new
# private Xvfb. It stays up after this script ends, so that every program of
# the prefix keeps the same display until "stop"; Wine's own helper processes
# do not survive the loss of theirs.
#
# It comes before any Wine command of the prefix, winepath and reg included:
# the first one brings up the prefix's server and its desktop process, and
# programs started while that server lives share its desktop. A desktop
# brought up without a display has no window station that works, and a
# program started on it cannot create its window and ends at once.
use_display() {
  choose_display
  leave_no_server_of_another_display
}

choose_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  if ! private_display_alive; then
    mkdir -p "$state"
    rm -f "$xvfb_display_file"
    setsid Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$xvfb_display_file" 2>/dev/null </dev/null &
    echo $! >"$xvfb_pid_file"
    for _ in $(seq 100); do
      [ -s "$xvfb_display_file" ] && break
      sleep 0.1
    done
    private_display_alive || { echo "Could not start a private X server (Xvfb)." >&2; exit 1; }
  fi
  export DISPLAY=":$(head -n 1 "$xvfb_display_file")"
}

# A server of this prefix that came up with another display (or none: a
# Wine command given by hand, a display that has gone) would hand its
# desktop to the programs started now. With none of Quillon's programs in
# it, it is ended, and the next command brings up one on $DISPLAY.
leave_no_server_of_another_display() {
  local pid stale=""
  for pid in $(wine_pids "$prefix"); do
    [ "$(display_of "$pid")" = "$DISPLAY" ] || stale=yes
  done
  [ -n "$stale" ] || return 0
  if [ -n "$(runtime_pids)$(program_pids "$prefix" QuillonConfig.exe)" ]; then
    echo "Quillon runs on another display than $DISPLAY: stop it first with scripts/run.sh stop." >&2
    exit 1
  fi
  wineserver -k >/dev/null 2>&1 || true
  wait_until_gone wine_pids "$prefix"
}

# Waits up to 10 seconds until the command ($@) prints nothing; says whether
# it did.
wait_until_gone() {
  for _ in $(seq 100); do
    [ -z "$("$@")" ] && return 0
    sleep 0.1
  done
  [ -z "$("$@")" ]
}

stop_private_display() {
  private_display_alive || { rm -f "$xvfb_pid_file" "$xvfb_display_file"; return 0; }
  # Whatever else of this prefix still runs (a configurator nobody can see,
  # Wine's helper processes) goes with it, before its display does.
  wineserver -k >/dev/null 2>&1 || true
  wait_until_gone wine_pids "$prefix" || true
  kill "$(cat "$xvfb_pid_file")" 2>/dev/null || true
  rm -f "$xvfb_pid_file" "$xvfb_display_file"
}

# Runs the window probe: milliseconds to wait, window class, title, and the
# items one of its list boxes must hold.
probe_window() {
  "$repo/scripts/wine-run.sh" "$bin/window_probe.exe" "$@" >/dev/null 2>&1
}

stop_runtime() {
  if [ -z "$(runtime_pids)" ]; then
    # A copy started with "Q" would find no runtime to close and stay
    # resident itself, so none is started.
    echo "Quillon is not running."
  else
    use_display
    # One that is still starting gets its window first: "Q" given before
    # then would find nothing to close and become the runtime itself.
    probe_window 20000 Quillon "" || true
    # A second copy started with "Q" closes the running one and ends.
    timeout 60 "$repo/scripts/wine-run.sh" "$bin/quillon.exe" Q >/dev/null 2>&1 || true
    if ! wait_until_gone runtime_pids; then
      echo "Quillon did not stop (process $(runtime_pids | tr '\n' ' '))." >&2
      exit 1
    fi
    echo "Quillon stopped."
  fi
  # The private X server exists only for the programs of this command.
  stop_private_display
}

# Builds what the command starts, prepares the prefix and, on a first run,
# writes the demonstration settings tree: two maps, and F9 types a greeting.
# The stand-in program plays the mapping program and logs what it is handed.
prepare() {
  cd "$repo"
  if [ "${QUILLON_RUN_BUILT:-}" != 1 ]; then
    "$repo/scripts/install-deps.sh"
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j2 --target "$@" stand_in_mapper window_probe
  fi
  use_display
  "$repo/scripts/prepare-wine-prefix.sh"
  local key='HKCU\Software\KWP\Quillon'
  if ! wine reg query "$key" >/dev/null 2>&1; then
    echo "Writing a demonstration settings tree."
    wine regedit /S "$(winepath -w "$repo/scripts/demo-settings.reg")" >/dev/null 2>&1
    wine reg add "$key" /v UltraMapPath /t REG_SZ /d "$(winepath -w "$bin/stand_in_mapper.exe")" /f >/dev/null 2>&1
  fi
  export QUILLON_STANDIN_LOG
  QUILLON_STANDIN_LOG="$(winepath -w "$prefix/ultramap-handovers.log")"
}

# The configurator lists the maps of its data folder (and starts the runtime
# beside itself when Apply finds none running): give it the demonstration's
# maps (empty files do for the stand-in). A runtime that an older run copied
# there goes: nothing is started from that folder any more.
prepare_configurator_data() {
  local data
  data="$(winepath -u 'C:\ProgramData\KWP\QuillonConfig' 2>/dev/null)"
  mkdir -p "$data"
  rm -f "$data/quillon.exe"
  local map
  for map in Analog 8-Way; do [ -e "$data/$map.ugc" ] || : >"$data/$map.ugc"; done
}

# Starts a Windows program of the prefix in its own session, so it outlives
# this script and its terminal: log file, file for its exit status, program
# and arguments.
start_detached() {
  local log="$1" status="$2"
  shift 2
  rm -f "$status"
  # shellcheck disable=SC2016  # expanded by the inner shell
  setsid nohup bash -c '"$@"; echo $? >"$0"' "$status" "$repo/scripts/wine-run.sh" "$@" >"$log" 2>&1 </dev/null &
}

# Waits until the program started with status file $2 has its window (the
# probe's arguments follow); otherwise says what went wrong, with its exit
# status when it ended, and fails. $1 names the program.
wait_for_window() {
  local label="$1" status="$2" log="$3"
  shift 3
  local start=$SECONDS
  while [ $((SECONDS - start)) -lt 30 ]; do
    if [ -s "$status" ]; then
      echo "$label ended at start, with exit status $(cat "$status"), before its window was up (see ${log#"$repo/"})." >&2
      return 1
    fi
    probe_window 1000 "$@" && return 0
  done
  echo "$label is still without a window after 30 seconds (see ${log#"$repo/"})." >&2
  return 1
}

case "${1:-}" in
  "")
    private=$([ -z "${DISPLAY:-}" ] && echo yes || true)
    prepare quillon
    if [ -n "$(runtime_pids)" ]; then
      echo "Quillon is already running. Stop it with: scripts/run.sh stop"
      exit 0
    fi
    start_detached "$state/run.log" "$state/run.status" "$bin/quillon.exe"
    wait_for_window Quillon "$state/run.status" "$state/run.log" Quillon "" || exit 1
    if [ -z "$private" ]; then
      # Hot keys reach the runtime while a Wine window is active: Notepad
      # gives the demonstration key somewhere to type into.
      start_detached /dev/null "$state/notepad.status" notepad
      echo "Click into the Wine Notepad window and press F9: Quillon types \"Hello from Quillon\"."
    fi
    echo "Quillon is running under Wine (hidden window, display $DISPLAY${private:+, a private Xvfb})."
    echo "Map hand-overs are logged in ${prefix#"$repo/"}/ultramap-handovers.log."
    echo "Open the configurator with: scripts/run.sh config"
    echo "Stop Quillon with: scripts/run.sh stop"
    ;;
  config)
    private=$([ -z "${DISPLAY:-}" ] && echo yes || true)
    prepare QuillonConfig quillon_help quillon
    prepare_configurator_data
    start_detached "$state/config.log" "$state/config.status" "$bin/QuillonConfig.exe"
    wait_for_window "The configurator" "$state/config.status" "$state/config.log" "#32770" " Quillon Configurator" ||
      exit 1
    if [ -n "$private" ]; then
      echo "The configurator runs on a private Xvfb (display $DISPLAY), where no one can see it:"
      echo "run this command on a desktop to use it. scripts/run.sh stop ends it."
    else
      echo "The configurator is open on display $DISPLAY with the demonstration settings."
    fi
    ;;
  stop) stop_runtime ;;
  *) usage ;;
esac
