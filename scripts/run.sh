#!/usr/bin/env bash
# Installs what is missing, builds, and starts the timekeeper on its embedded
# defaults: the bundled protocol, the simulated blood-pressure bridge and a
# drone window beside it, both kept to this machine (TAVOREN_LOCAL_DRONE=0
# leaves the drone out and uses the network, for a drone on another device,
# paired by hand).
# Arguments go to the timekeeper.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
documents="${TAVOREN_DOCUMENTS:-$HOME/Documents/tavoren}"
# A first start finds the bundled protocol in its list.
mkdir -p "$documents/Research_protocols"
if ! compgen -G "$documents/Research_protocols/*.json" >/dev/null; then
  cp resources/Research_protocols/mini.json "$documents/Research_protocols/"
fi
if [ "${TAVOREN_LOCAL_DRONE:-1}" = 0 ]; then
  exec build/apps/tavoren/tavoren --documents "$documents" "$@"
fi
# Both stay on this machine: a demonstration announces nothing on the lab's
# network (unless the caller chose otherwise).
export TAVOREN_DISCOVERY="${TAVOREN_DISCOVERY:-loopback}"
# The two pair by themselves for the demonstration, on loopback only (the
# programs confirm the code themselves only with loopback discovery and
# only with a peer on this machine); a drone on the network is paired by hand.
if [ "$TAVOREN_DISCOVERY" = loopback ]; then
  export TAVOREN_DEMO_PAIRING=1
  echo "Demonstration: the timekeeper and the local drone pair by themselves, on loopback only."
fi
# The drone invites the timekeeper it finds, so the two meet by themselves.
build/apps/tavoren-drone/tavoren-drone --windowed --name "Demo drone" --invite </dev/null &
drone=$!
trap 'kill "$drone" 2>/dev/null || true' EXIT
build/apps/tavoren/tavoren --documents "$documents" "$@"
