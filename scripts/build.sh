#!/usr/bin/env bash
# Builds the native tree (core, tests, admin tool, benchmarks) and both Windows builds: i686, what
# ships, and x86_64, what the tests run where 32-bit programs cannot.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in native windows windows64; do
    [[ -f build/$preset/build.ninja ]] || cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -- --quiet
done
