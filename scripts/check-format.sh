#!/usr/bin/env bash
# Checks that every C++ file in the repository is laid out as .clang-format
# says; with --fix, lays them out so. Exits non-zero when a file differs (and
# --fix was not given) or clang-format is missing.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

fix=false
case "${1:-}" in
  --fix) fix=true ;;
  "") ;;
  *) echo "usage: $0 [--fix]" >&2; exit 2 ;;
esac

# The layout differs between clang-format versions: 14 is the one the
# settings were tuned with, so it is preferred when several are installed.
formatter=""
for candidate in clang-format-14 clang-format; do
  if command -v "$candidate" >/dev/null 2>&1; then formatter=$candidate; break; fi
done
if [ -z "$formatter" ]; then
  echo "clang-format is not installed" >&2
  exit 1
fi

mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.cc' '*.hpp')
if $fix; then
  "$formatter" -i --style=file "${files[@]}"
  exit 0
fi
# --Werror makes --dry-run fail on the first difference in each file, and its
# warnings name the file and line.
if ! "$formatter" --dry-run --Werror --style=file "${files[@]}" 2>/tmp/check-format.$$; then
  grep -E '^[^ ].*: (error|warning):' /tmp/check-format.$$ | cut -d: -f1 | sort -u | sed 's/^/not formatted: /'
  rm -f /tmp/check-format.$$
  echo "run scripts/check-format.sh --fix to lay them out" >&2
  exit 1
fi
rm -f /tmp/check-format.$$
echo "formatting: ${#files[@]} files as .clang-format says"
