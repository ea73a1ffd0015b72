#!/usr/bin/env bash
# Runs a Windows test program in a Wine prefix made new for this run:
#   run-in-fresh-prefix.sh PREFIX program.exe [arguments...]
# For tests that install into the system as on a machine that never saw
# Quillon.
set -u
prefix=$1
shift
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
rm -rf "$prefix"
export QUILLON_WINEPREFIX="$prefix"
exec "$repo/scripts/wine-run.sh" "$@"
