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
# a first run writes.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
prefix="$repo/build/run-prefix"
bin="$repo/build/windows/bin"
export QUILLON_WINEPREFIX="$prefix" WINEPREFIX="$prefix" WINEARCH=win64
# Debian's wine command warns that 32-bit Wine is missing unless every debug
# channel is off; the programs here are 64-bit and need none of it.
export WINEDEBUG="${WINEDEBUG:--all}"
# The private X server: its process and display number, while it runs.
xvfb_pid_file="$repo/build/run-xvfb.pid"
xvfb_display_file="$repo/build/run-xvfb.display"

usage() {
  echo "usage: scripts/run.sh [config|stop]" >&2
  exit 2
}

# Processes of this prefix whose program is quillon.exe, whoever started them
# (this script, or the configurator's Apply from its data folder). Wine puts
# the Windows path of the program first on the command line.
runtime_pids() {
  local dir program
  for dir in /proc/[0-9]*; do
    { tr '\0' '\n' <"$dir/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$prefix" || continue
    program=$({ tr '\0' '\n' <"$dir/cmdline"; } 2>/dev/null | head -n 1) || continue
    if printf '%s\n' "$program" | grep -qiE '(^|[\\/])quillon\.exe$'; then echo "${dir#/proc/}"; fi
  done
}

private_display_alive() {
  [ -s "$xvfb_pid_file" ] && [ -s "$xvfb_display_file" ] && kill -0 "$(cat "$xvfb_pid_file")" 2>/dev/null
}

# Exports DISPLAY: the user's, the private Xvfb that is already up, or a new
# private Xvfb. It stays up after this script ends, so that every program of
# the prefix keeps the same display until "stop"; Wine's own helper processes
# do not survive the loss of theirs.
use_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  if ! private_display_alive; then
    mkdir -p "$repo/build"
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

stop_private_display() {
  private_display_alive || { rm -f "$xvfb_pid_file" "$xvfb_display_file"; return 0; }
  # Whatever else of this prefix still runs (a configurator nobody can see,
  # Wine's helper processes) goes with it.
  wineserver -k >/dev/null 2>&1 || true
  kill "$(cat "$xvfb_pid_file")" 2>/dev/null || true
  rm -f "$xvfb_pid_file" "$xvfb_display_file"
}

stop_runtime() {
  if [ -z "$(runtime_pids)" ]; then
    # A copy started with "Q" would find no runtime to close and stay
    # resident itself, so none is started.
    echo "Quillon is not running."
  else
    use_display
    # A second copy started with "Q" closes the running one and ends.
    timeout 60 "$repo/scripts/wine-run.sh" "$bin/quillon.exe" Q >/dev/null 2>&1 || true
    for _ in $(seq 100); do
      [ -z "$(runtime_pids)" ] && break
      sleep 0.1
    done
    if [ -n "$(runtime_pids)" ]; then
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
  "$repo/scripts/install-deps.sh"
  cd "$repo"
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j2 --target "$@" stand_in_mapper
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

# The configurator lists the maps of its data folder and starts the runtime
# from there when Apply finds none running: give it the demonstration's maps
# (empty files do for the stand-in) and a copy of the runtime.
prepare_configurator_data() {
  local data
  data="$(winepath -u 'C:\ProgramData\KWP\QuillonConfig' 2>/dev/null)"
  mkdir -p "$data"
  cp "$bin/quillon.exe" "$data/quillon.exe"
  local map
  for map in Analog 8-Way; do [ -e "$data/$map.ugc" ] || : >"$data/$map.ugc"; done
}

# Starts a Windows program of the prefix in its own session, so it outlives
# this script and its terminal.
start_detached() {
  local log="$1"
  shift
  setsid nohup "$repo/scripts/wine-run.sh" "$@" >"$log" 2>&1 </dev/null &
}

case "${1:-}" in
  "")
    prepare quillon
    if [ -n "$(runtime_pids)" ]; then
      echo "Quillon is already running. Stop it with: scripts/run.sh stop"
      exit 0
    fi
    private=$([ -z "${DISPLAY:-}" ] && echo yes || true)
    use_display
    start_detached "$repo/build/run.log" "$bin/quillon.exe"
    if [ -z "$private" ]; then
      # Hot keys reach the runtime while a Wine window is active: Notepad
      # gives the demonstration key somewhere to type into.
      start_detached /dev/null notepad
      echo "Click into the Wine Notepad window and press F9: Quillon types \"Hello from Quillon\"."
    fi
    echo "Quillon is running under Wine (hidden window, display $DISPLAY${private:+, a private Xvfb})."
    echo "Map hand-overs are logged in build/run-prefix/ultramap-handovers.log."
    echo "Open the configurator with: scripts/run.sh config"
    echo "Stop Quillon with: scripts/run.sh stop"
    ;;
  config)
    prepare QuillonConfig quillon_help quillon
    prepare_configurator_data
    private=$([ -z "${DISPLAY:-}" ] && echo yes || true)
    use_display
    start_detached "$repo/build/config.log" "$bin/QuillonConfig.exe"
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
