#!/usr/bin/env bash
# Installs what is missing, builds, and starts the timekeeper on its embedded
# defaults: the bundled protocol and the simulated blood-pressure bridge.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
documents="${TAVOREN_DOCUMENTS:-$HOME/Documents/tavoren}"
# A first start finds the bundled protocol in its list.
mkdir -p "$documents/Research_protocols"
if ! compgen -G "$documents/Research_protocols/*.json" >/dev/null; then
  cp resources/Research_protocols/mini.json "$documents/Research_protocols/"
fi
exec build/apps/tavoren/tavoren --documents "$documents" "$@"
