#!/usr/bin/env bash
# Builds everything and runs every test: native unit and tool tests, the same under the sanitizers
# (any finding fails) with a short fuzzing run, then each Windows build's unit tests and end-to-end
# tests under the Wine of its architecture (own prefix, wineserver and Xvfb). The 64-bit suite runs
# everywhere; the 32-bit one where the kernel runs 32-bit programs, elsewhere the i686 build is
# checked without running it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
status=0
ctest --preset native -j2 || status=1
ctest --preset native-asan -j2 || status=1
ctest --preset windows64 || status=1
if why=$(scripts/can-run-32bit.sh); then
    ctest --preset windows || status=1
else
    echo "32-bit Windows tests skipped: $why; the i686 build is checked statically only"
    ctest --preset windows -R '^static\.' || status=1
fi
exit $status
