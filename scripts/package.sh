#!/usr/bin/env bash
# Builds the Debian packages from the one build tree: build/packages/
# tavoren_VERSION_ARCH.deb (the timekeeper and tavoren-cli) and
# tavoren-drone_VERSION_ARCH.deb (the participant's screen), then checks
# the desktop entries, the AppStream metadata and both packages (lintian:
# any error fails).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh tavoren tavoren-drone tavoren-cli
rm -f build/packages/*.deb
(cd build && cpack --config CPackConfig.cmake)
desktop-file-validate packaging/*.desktop
appstreamcli validate --no-net packaging/*.metainfo.xml
lintian --fail-on error build/packages/*.deb
echo "packages:"
ls -1 build/packages/*.deb
