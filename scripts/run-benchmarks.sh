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

# The runtime's idle CPU time, in the same Windows build and prefix.
run_one "runtime idle CPU (windows, Wine)" \
  env QUILLON_BENCH_WINDOWS_DIR="$windows_dir" "$repo/scripts/run-idle-cpu.sh"

if [ "$failures" -ne 0 ]; then
  echo "$failures benchmark step(s) failed"
  exit 1
fi
echo "All benchmarks ran"
