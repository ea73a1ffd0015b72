#!/usr/bin/env bash
# Creates the Wine prefix named by WINEPREFIX once. Several tests may start at
# the same moment, so creation is serialised with a lock beside the prefix.
set -u
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
[ -f "$WINEPREFIX/.quillon-ready" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.quillon-ready" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.quillon-ready"
fi
