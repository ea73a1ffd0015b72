#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each one for
# a bounded time: ./scripts/run-fuzzers.sh [seconds per target, default 30].
# Fails when a target finds a crash, a leak or a broken invariant.
set -eu
seconds="${1:-30}"
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$repo/build/fuzz"

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DQUILLON_FUZZ=ON >/dev/null
# Every fuzz/<name>_fuzzer.cpp is the target <name>_fuzzer, with an optional
# dictionary fuzz/<name>.dict.
targets=()
for source in "$repo"/fuzz/*_fuzzer.cpp; do
  name=$(basename "$source" .cpp)
  targets+=("$name")
done
cmake --build "$build" -j2 --target "${targets[@]}"

for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -max_len=600 -timeout=10 -print_final_stats=1)
  dictionary="$repo/fuzz/${target%_fuzzer}.dict"
  [ -f "$dictionary" ] && options+=(-dict="$dictionary")
  echo "== $target for ${seconds}s"
  # Each run prints a line per new input; keep that in a log and show only
  # its totals, or all of its end when it failed.
  log="$build/$target.log"
  if (cd "$build" && "$build/fuzz/$target" "${options[@]}" "$corpus") >"$log" 2>&1; then
    grep -E '^(Done|stat::)' "$log" || true
  else
    tail -n 60 "$log"
    echo "*** $target failed; its whole output is in $log"
    failed=1
  fi
done
exit "${failed:-0}"
