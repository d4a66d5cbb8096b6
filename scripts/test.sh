#!/usr/bin/env bash
# Builds everything and runs every test: native unit and tool tests, the same under the sanitizers
# (any finding fails) with a short fuzzing run, then the Windows build's unit tests and end-to-end
# tests under Wine (its own prefix, wineserver and Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
status=0
ctest --preset native -j2 || status=1
ctest --preset native-asan -j2 || status=1
ctest --preset windows || status=1
exit $status
