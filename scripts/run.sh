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

# A first run gets a small demonstration tree: two maps, and F9 types a
# greeting into the focused window. The stand-in plays the mapping program.
wine_reg() { WINEPREFIX="$QUILLON_WINEPREFIX" WINEDEBUG=-all wine reg "$@" >/dev/null 2>&1; }
key='HKCU\Software\KWP\Quillon'
if ! wine_reg query "$key"; then
  echo "Writing a demonstration settings tree."
  wine_reg add "$key" /v Config0 /t REG_SZ /d "Analog" /f
  wine_reg add "$key" /v Config1 /t REG_SZ /d "8-Way" /f
  wine_reg add "$key" /v DefaultConfig /t REG_DWORD /d 0 /f
  wine_reg add "$key" /v ChangeTimeout /t REG_DWORD /d 2048 /f
  wine_reg add "$key" /v UltraMapPath /t REG_SZ /d "$(WINEPREFIX="$QUILLON_WINEPREFIX" winepath -w "$repo/build/windows/bin/stand_in_mapper.exe" 2>/dev/null)" /f
  wine_reg add "$key" /v UltraMapOptions /t REG_SZ /d "%s" /f
  wine_reg add "$key" /v UseKeyboard /t REG_DWORD /d 1 /f
  wine_reg add "$key" /v PollPerSecond /t REG_DWORD /d 16 /f
  wine_reg add "$key\\01" /v VirtualKey /t REG_DWORD /d 120 /f
  wine_reg add "$key\\01" /v Action /t REG_DWORD /d 0 /f
  wine_reg add "$key\\01" /v KeySeq /t REG_SZ /d "Hello from Quillon" /f
fi

export QUILLON_STANDIN_LOG
QUILLON_STANDIN_LOG="$(WINEPREFIX="$QUILLON_WINEPREFIX" winepath -w "$repo/build/run-prefix/ultramap-handovers.log" 2>/dev/null)"
setsid nohup "$repo/scripts/wine-run.sh" "$runtime" >"$repo/build/run.log" 2>&1 </dev/null &
echo "Quillon is running under Wine (hidden window, display ${DISPLAY:-Xvfb})."
echo "Map hand-overs are logged in build/run-prefix/ultramap-handovers.log."
echo "Stop it with: scripts/run.sh stop"
