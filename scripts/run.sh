#!/usr/bin/env bash
# Builds quillon.exe and starts it under Wine with the project's own prefix
# (build/run-prefix). "scripts/run.sh stop" closes it again.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export QUILLON_WINEPREFIX="$repo/build/run-prefix"
runtime="$repo/build/windows/bin/quillon.exe"

if [ "${1:-}" = "stop" ]; then
  # A second copy started with "Q" closes the running one.
  "$repo/scripts/wine-run.sh" "$runtime" Q || true
  echo "Quillon stopped."
  exit 0
fi

"$repo/scripts/install-deps.sh"
cd "$repo"
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target quillon stand_in_mapper
WINEPREFIX="$QUILLON_WINEPREFIX" "$repo/scripts/prepare-wine-prefix.sh"

# A first run gets the demonstration tree (scripts/demo-settings.reg: two
# maps, and F9 types a greeting into the focused window); the stand-in
# program plays the mapping program and logs what it is handed.
wine_reg() { WINEPREFIX="$QUILLON_WINEPREFIX" WINEDEBUG=-all wine reg "$@" >/dev/null 2>&1; }
key='HKCU\Software\KWP\Quillon'
if ! wine_reg query "$key"; then
  echo "Writing a demonstration settings tree."
  WINEPREFIX="$QUILLON_WINEPREFIX" WINEDEBUG=-all wine regedit /S "$(WINEPREFIX="$QUILLON_WINEPREFIX" winepath -w "$repo/scripts/demo-settings.reg")" >/dev/null 2>&1
  wine_reg add "$key" /v UltraMapPath /t REG_SZ /d "$(WINEPREFIX="$QUILLON_WINEPREFIX" winepath -w "$repo/build/windows/bin/stand_in_mapper.exe" 2>/dev/null)" /f
fi

export QUILLON_STANDIN_LOG
QUILLON_STANDIN_LOG="$(WINEPREFIX="$QUILLON_WINEPREFIX" winepath -w "$repo/build/run-prefix/ultramap-handovers.log" 2>/dev/null)"
setsid nohup "$repo/scripts/wine-run.sh" "$runtime" >"$repo/build/run.log" 2>&1 </dev/null &
if [ -n "${DISPLAY:-}" ]; then
  # Hot keys reach the runtime while a Wine window is active: Notepad gives
  # the demonstration key somewhere to type into.
  setsid nohup "$repo/scripts/wine-run.sh" notepad >/dev/null 2>&1 </dev/null &
  echo "Click into the Wine Notepad window and press F9: Quillon types \"Hello from Quillon\"."
fi
echo "Quillon is running under Wine (hidden window, display ${DISPLAY:-Xvfb})."
echo "Map hand-overs are logged in build/run-prefix/ultramap-handovers.log."
echo "Stop it with: scripts/run.sh stop"
