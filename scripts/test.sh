#!/usr/bin/env bash
# Builds everything, runs the whole test suite, then the fuzzers for a
# bounded time each (scripts/fuzz.sh). Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
(cd build && ctest --output-on-failure --parallel "$(nproc)" "$@")
bash scripts/fuzz.sh
