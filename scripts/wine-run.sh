#!/usr/bin/env bash
# Runs one Windows program of the tree under Wine with the project's private
# prefix. CMake uses it as the cross-compiling emulator, so ctest and the
# GoogleTest discovery both come through here.
set -u
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${QUILLON_WINEPREFIX:-$repo/build/windows/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Windows programs need a display; without one, bring up a private Xvfb.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

"$repo/scripts/prepare-wine-prefix.sh" || exit 1
exec wine "$@"
