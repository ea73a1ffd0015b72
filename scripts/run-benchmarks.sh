#!/usr/bin/env bash
# Builds the benchmarks of both builds (native-release, and windows with
# MinGW-w64) and runs each of them once, printing their figures. Windows
# benchmarks run under Wine on a private Xvfb display: some inject keys, which
# must not reach the desktop of whoever runs this.
#
#   scripts/run-benchmarks.sh
#
# QUILLON_BENCH_NATIVE_DIR and QUILLON_BENCH_WINDOWS_DIR build elsewhere than
# the presets' folders (build/native-release, build/windows); each Windows
# build folder keeps its Wine prefix inside it. QUILLON_BENCH_ROUNDS sets the
# round count of settings_load_bench (default 200). Exits non-zero when a
# build or a benchmark fails.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo" || exit 1
"$repo/scripts/install-deps.sh" || exit 1

native_dir="${QUILLON_BENCH_NATIVE_DIR:-$repo/build/native-release}"
windows_dir="${QUILLON_BENCH_WINDOWS_DIR:-$repo/build/windows}"
rounds="${QUILLON_BENCH_ROUNDS:-200}"
failures=0

configure() {  # folder, preset, extra cmake arguments...
  local dir=$1 preset=$2
  shift 2
  if [ -z "${QUILLON_BENCH_NATIVE_DIR:-}${QUILLON_BENCH_WINDOWS_DIR:-}" ]; then
    cmake --preset "$preset" >/dev/null
  else
    cmake -S "$repo" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  fi
}

# Every target named *_bench, so benchmarks added later run without edits.
bench_targets() {
  ninja -C "$1" -t targets all 2>/dev/null | sed -n 's/^\([A-Za-z0-9_]*_bench\): phony$/\1/p' |
    grep -v '^cmake_' | sort -u
}

arguments_of() {
  case "$1" in
    settings_load_bench) echo "$rounds" ;;
    *) ;;
  esac
}

build() {  # folder
  local dir=$1 targets
  targets=$(bench_targets "$dir")
  if [ -z "$targets" ]; then
    echo "*** no benchmarks found in $dir"
    failures=$((failures + 1))
    return 1
  fi
  # One by one, so one that fails to build does not keep the others back.
  for target in $targets; do
    cmake --build "$dir" --target "$target" -j2 >"$dir/bench-build-$target.log" 2>&1 ||
      { echo "*** $target failed to build (see $dir/bench-build-$target.log)"; failures=$((failures + 1)); }
  done
}

run_one() {  # label, command...
  local label=$1
  shift
  echo "--- $label"
  "$@" || { echo "*** $label failed"; failures=$((failures + 1)); }
}

echo "=== native-release ($native_dir)"
configure "$native_dir" native-release || { echo "*** configure failed"; exit 1; }
build "$native_dir"
for target in $(bench_targets "$native_dir"); do
  program=$(find "$native_dir" -type f -name "$target" -perm -u+x | head -n 1)
  [ -n "$program" ] || continue
  # shellcheck disable=SC2046
  run_one "$target (native)" "$program" $(arguments_of "$target")
done

echo "=== windows ($windows_dir)"
configure "$windows_dir" windows -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" ||
  { echo "*** configure failed"; exit 1; }
build "$windows_dir"
export QUILLON_WINEPREFIX="$windows_dir/wineprefix"
WINEPREFIX="$QUILLON_WINEPREFIX" "$repo/scripts/prepare-wine-prefix.sh" || exit 1
list=$(mktemp)
for target in $(bench_targets "$windows_dir"); do
  [ -f "$windows_dir/bin/$target.exe" ] && echo "$target" >>"$list"
done
# One display for all of them; the inner script reports its failure count.
# shellcheck disable=SC2016  # expanded by the inner shell, from its arguments
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  failed=0
  while read -r target; do
    echo "--- $target (windows, Wine)"
    args=""
    [ "$target" = settings_load_bench ] && args="$2"
    "$1/scripts/wine-run.sh" "$3/bin/$target.exe" $args || { echo "*** $target failed"; failed=$((failed + 1)); }
  done <"$4"
  exit "$failed"' bench "$repo" "$rounds" "$windows_dir" "$list"
windows_failed=$?
rm -f "$list"
failures=$((failures + windows_failed))

# The runtime's own CPU time while it idles for 60 seconds, with PollTimer at
# 16 ticks a second (Wine's built-in DirectInput attaches no pad here, so
# each tick finds no device) and with polling off, read from the Linux
# process, Wine's share of the work included.
idle_seconds="${QUILLON_BENCH_IDLE_SECONDS:-60}"

wine_reg() { WINEPREFIX="$QUILLON_WINEPREFIX" WINEDEBUG=-all wine reg "$@" >/dev/null 2>&1; }

# The Linux process of the program named $1 (default quillon.exe) started
# with this build's prefix (other copies may run for other prefixes); empty
# when there is none.
runtime_pid() {
  local pid name=${1:-quillon.exe}
  # The kernel keeps the first 15 characters of a process's name.
  for pid in $(pgrep -x "${name:0:15}"); do
    { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$QUILLON_WINEPREFIX" &&
      { echo "$pid"; return; }
  done
}

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

idle_cpu_once() {  # label, UseJoystick, ShowTrayIcon and ShowMapName (default 0)
  local key='HKCU\Software\KWP\Quillon' notices=${3:-0}
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
  stop_runtime
  # "wine reg" ran without a display, and a program started while the Wine
  # server that it brought up still lives shares its display-less desktop,
  # where the runtime cannot create its window and ends at once. A new
  # server comes up with the runtime's display.
  WINEPREFIX="$QUILLON_WINEPREFIX" wineserver -w
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
  idle_cpu_once "polling 16 times a second" 1 && idle_cpu_once "polling off" 0 &&
    idle_cpu_once "polling off, icon and map name on" 0 1 && idle_timer_yardstick
}
run_one "runtime idle CPU (windows, Wine)" idle_cpu

if [ "$failures" -ne 0 ]; then
  echo "$failures benchmark step(s) failed"
  exit 1
fi
echo "All benchmarks ran"
