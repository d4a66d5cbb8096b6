#!/usr/bin/env bash
# Builds both setup programs: the 32-bit one that ships and the 64-bit edition, into build/package.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
mkdir -p build/package
cp build/windows/package/Marrowfold-*-x86-setup.exe build/windows64/package/Marrowfold-*-x64-setup.exe build/package/
ls -l build/package/*.exe
