#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and this
# machine does not have yet. Safe to run again: it installs nothing twice.
set -euo pipefail

required=(
  cmake ninja-build g++ make
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth
  googletest clang clang-format
  fp-utils
  nsis
)
# libFuzzer's runtime has its own package on some releases.
optional=(libclang-rt-dev)

missing=()
for package in "${required[@]}" "${optional[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
export DEBIAN_FRONTEND=noninteractive
for package in "${missing[@]}"; do
  if printf '%s\n' "${optional[@]}" | grep -qx "$package"; then
    $sudo apt-get install -y -qq "$package" >/dev/null 2>&1 || echo "($package is not available here; skipped)"
  fi
done
required_missing=()
for package in "${missing[@]}"; do
  printf '%s\n' "${optional[@]}" | grep -qx "$package" || required_missing+=("$package")
done
if [ ${#required_missing[@]} -gt 0 ]; then
  $sudo apt-get install -y -qq --no-install-recommends "${required_missing[@]}" >/dev/null
fi
