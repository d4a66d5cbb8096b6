#!/usr/bin/env bash
# Builds the native tree (core, tests, admin tool, benchmarks), the same under clang's address and
# undefined-behaviour sanitizers (with the fuzz target), and both Windows builds: i686, what ships,
# and x86_64, what the tests run where 32-bit programs cannot.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in native native-asan windows windows64; do
    [[ -f build/$preset/build.ninja ]] || cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -- --quiet
done
