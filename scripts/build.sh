#!/usr/bin/env bash
# Builds the native tree (core, tests, admin tool, benchmarks) and the Windows programs.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in native windows; do
    [[ -f build/$preset/build.ninja ]] || cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -- --quiet
done
