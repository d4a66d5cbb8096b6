#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, and nothing when all is there.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libbenchmark-dev mingw-w64 wine wine32:i386 xvfb x11-utils xdotool
          procps imagemagick python3)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
