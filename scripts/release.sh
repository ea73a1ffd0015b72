#!/usr/bin/env bash
# Builds the release on a fresh Debian or Ubuntu machine (installs what is
# missing): the stripped programs, the installer QuillonSetup-<version>.exe
# and the portable zip, written to build/release (ignored by git).
#
#   scripts/release.sh
#
# The version is the one on the project() line of CMakeLists.txt.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
"$repo/scripts/install-deps.sh"

cmake --preset windows-release >/dev/null
cmake --build --preset windows-release -j2

out="$repo/build/release"
rm -rf "$out"
mkdir -p "$out"
cp build/windows-release/package/QuillonSetup-*.exe build/windows-release/package/Quillon-*-portable.zip "$out/"
echo "Release in build/release:"
ls -l "$out"
echo "Stripped programs:"
ls -l build/windows-release/bin/quillon.exe build/windows-release/bin/QuillonConfig.exe
