#!/usr/bin/env bash
# Installs what building and testing Velkaro needs and a fresh machine lacks:
# the native toolchain with GoogleTest and Google Benchmark, the mingw-w64
# cross compiler, Wine (32-bit) and Xvfb, clang with its sanitizer and fuzzer
# runtimes, gcc's sanitizer runtimes (scripts/sanitize.sh builds with the
# system's c++). Does nothing for packages already present.
set -euo pipefail

packages=(cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
          clang libclang-rt-14-dev llvm g++-mingw-w64-i686 binutils-mingw-w64-i686
          wine wine32:i386 xvfb locales python3
          libgcc-12-dev libasan8 libubsan1 libtsan2)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}" >&2
if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq \
  "${missing[@]}" >/dev/null
