#!/usr/bin/env bash
# The runtime's own CPU time while it idles, under Wine on a private Xvfb, in
# the Windows build (default build/windows, or QUILLON_BENCH_WINDOWS_DIR) and
# the Wine prefix inside it. scripts/run-benchmarks.sh builds that and runs
# this as its last benchmark; run alone, it expects quillon.exe and
# trivial_window.exe to be built.
#
#   scripts/run-idle-cpu.sh
#
# QUILLON_BENCH_IDLE_SECONDS sets each measured time (default 60);
# QUILLON_BENCH_IDLE_FOLLOW_ONLY=1 measures only polling off with and without
# FollowGame. Exits non-zero when a measurement fails.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=wine-processes.sh
. "$repo/scripts/wine-processes.sh"
windows_dir="${QUILLON_BENCH_WINDOWS_DIR:-$repo/build/windows}"
export QUILLON_WINEPREFIX="$windows_dir/wineprefix"
WINEPREFIX="$QUILLON_WINEPREFIX" "$repo/scripts/prepare-wine-prefix.sh" || exit 1
# Programs inject nothing here, but they get a display of their own, so that
# none appears on the desktop of whoever runs this.
if [ -z "${QUILLON_IDLE_CPU_DISPLAY_UP:-}" ]; then
  QUILLON_IDLE_CPU_DISPLAY_UP=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

# The runtime's own CPU time while it idles for 60 seconds, with PollTimer at
# 16 ticks a second (Wine's built-in DirectInput attaches no pad here, so
# each tick finds no device) and with polling off, read from the Linux
# process, Wine's share of the work included.
idle_seconds="${QUILLON_BENCH_IDLE_SECONDS:-60}"

wine_reg() { WINEPREFIX="$QUILLON_WINEPREFIX" WINEDEBUG=-all wine reg "$@" >/dev/null 2>&1; }

# The Linux process of the program named $1 (default quillon.exe) started
# with this build's prefix (other copies may run for other prefixes); empty
# when there is none.
runtime_pid() { program_pids "$QUILLON_WINEPREFIX" "${1:-quillon.exe}" | head -n 1; }

# Closes the runtime of this prefix, if one runs, and waits for it to end: a
# copy started while another runs only asks "Exit Quillon?", and "Q" given to
# a copy that finds none starts the runtime instead.
stop_runtime() {
  local pid
  pid=$(runtime_pid)
  [ -n "$pid" ] || return 0
  "$repo/scripts/wine-run.sh" "$windows_dir/bin/quillon.exe" Q >/dev/null 2>&1
  for _ in $(seq 1 60); do
    [ -d "/proc/$pid" ] || return 0
    sleep 0.5
  done
}

# CPU time of process $2 (a name) over the idle time, once it has started;
# $1 labels the figure, the rest is the command that starts it.
idle_cpu_of() {
  local label=$1 name=$2 pid="" ticks_before ticks_after
  shift 2
  setsid "$@" >/dev/null 2>&1 </dev/null &
  # On a fresh machine the prefix, the display and Wine's loader (which
  # hands the program over to a new process) take a while: wait for the
  # program's own process rather than a fixed time, then let start-up end.
  for _ in $(seq 1 120); do
    pid=$(runtime_pid "$name")
    [ -n "$pid" ] && break
    sleep 0.5
  done
  [ -n "$pid" ] || { echo "*** $name did not start"; return 1; }
  sleep 3
  ticks_before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep "$idle_seconds"
  ticks_after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  local ms=$(( (ticks_after - ticks_before) * 1000 / $(getconf CLK_TCK) ))
  echo "$label: CPU time over $idle_seconds idle seconds: $ms ms" \
    "($(awk -v ms="$ms" -v s="$idle_seconds" 'BEGIN { printf "%.3f", ms / (s * 10) }') % of one core)"
}

idle_cpu_once() {  # label, UseJoystick, ShowTrayIcon and ShowMapName (default 0), FollowGame (default 0)
  local key='HKCU\Software\KWP\Quillon' notices=${3:-0} follow=${4:-0}
  wine_reg delete "$key" /f
  wine_reg add "$key" /v UseJoystick /t REG_DWORD /d "$2" /f
  wine_reg add "$key" /v PollPerSecond /t REG_DWORD /d 16 /f
  # With the notices on, the start hands a map over, so its name shows and
  # fades before the measured time begins.
  wine_reg add "$key" /v ApplyOnStart /t REG_DWORD /d "$notices" /f
  wine_reg add "$key" /v Config0 /t REG_SZ /d "Race" /f
  wine_reg add "$key" /v ShowTrayIcon /t REG_DWORD /d "$notices" /f
  wine_reg add "$key" /v ShowMapName /t REG_DWORD /d "$notices" /f
  wine_reg add "$key" /v SwitchDevice /t REG_SZ /d "Ultrastick 360" /f
  # Following the game hears window events: none come while nothing on the
  # desktop changes.
  wine_reg add "$key" /v FollowGame /t REG_DWORD /d "$follow" /f
  stop_runtime
  # "wine reg" runs on the same display as the runtime, so the runtime may
  # join the server that it brought up.
  idle_cpu_of "runtime, $1" quillon.exe "$repo/scripts/wine-run.sh" "$windows_dir/bin/quillon.exe"
  local result=$?
  stop_runtime
  wine_reg delete "$key" /f
  return $result
}

# The yardstick: what Wine itself takes for a window timer at the same rate.
idle_timer_yardstick() {
  local pid
  idle_cpu_of "bare program with a 62 ms timer" trivial_window.exe \
    "$repo/scripts/wine-run.sh" "$windows_dir/bin/trivial_window.exe" timer
  local result=$?
  pid=$(runtime_pid trivial_window.exe)
  [ -z "$pid" ] || kill "$pid"
  return $result
}

idle_cpu() {
  if [ -n "${QUILLON_BENCH_IDLE_FOLLOW_ONLY:-}" ]; then
    idle_cpu_once "polling off" 0 && idle_cpu_once "polling off, FollowGame on" 0 0 1
    return
  fi
  idle_cpu_once "polling 16 times a second" 1 && idle_cpu_once "polling off" 0 &&
    idle_cpu_once "polling off, FollowGame on" 0 0 1 &&
    idle_cpu_once "polling off, icon and map name on" 0 1 && idle_timer_yardstick
}
idle_cpu
