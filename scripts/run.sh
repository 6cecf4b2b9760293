#!/usr/bin/env bash
# Builds and starts the application on its embedded defaults.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/tools/cli/tavoren-cli convert resources/Research_protocols/mini.json
