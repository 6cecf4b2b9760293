#!/usr/bin/env bash
# Builds everything, runs the whole test suite, builds the Debian packages
# and checks them with lintian (scripts/package.sh), then runs the fuzzers
# for a bounded time each (scripts/fuzz.sh). Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
(cd build && ctest --output-on-failure --parallel "$(nproc)" "$@")
bash scripts/package.sh
bash scripts/fuzz.sh
