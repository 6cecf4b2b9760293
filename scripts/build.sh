#!/usr/bin/env bash
# Configures (once) and builds the one build tree, build/: everything, or
# the targets named (scripts/build.sh tavoren tavoren-cli).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
targets=()
if [ $# -gt 0 ]; then targets=(--target "$@"); fi
cmake --build build --parallel "$(nproc)" "${targets[@]}"
