#!/usr/bin/env bash
# Builds and starts the application on its embedded defaults.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
# Until the screens exist: a dry run of the bundled protocol, which writes its
# label file into the documents folder and prints its path.
exec build/tools/cli/tavoren-cli dry-run resources/Research_protocols/mini.json --ppid 1
