#!/usr/bin/env bash
# Builds the native tree (core, tests, admin tool, benchmarks), the same under clang's address and
# undefined-behaviour sanitizers (with the fuzz target), and the Windows programs.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in native native-asan windows; do
    [[ -f build/$preset/build.ninja ]] || cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -- --quiet
done
