#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, and nothing when all is there. The
# 32-bit Wine (and with it the i386 architecture) only where the kernel runs 32-bit programs.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libbenchmark-dev mingw-w64 wine64 xvfb x11-utils xdotool
          procps imagemagick python3 nsis)
with32=0
if scripts/can-run-32bit.sh >/dev/null; then
    with32=1
    packages+=(wine32:i386)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo=sudo
if ((with32)) && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
