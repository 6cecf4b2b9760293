#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Does nothing when all of them are present already.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-declarative-dev qt6-declarative-dev-tools qt6-connectivity-dev qt6-multimedia-dev qt6-svg-dev
  qt6-serialport-dev socat
  qml6-module-qtqml qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts
  qml6-module-qtquick-window qml6-module-qtquick-templates qml6-module-qtqml-workerscript
  qml6-module-qttest qml6-module-qtmultimedia
  libplist-dev nlohmann-json3-dev libgtest-dev libgmock-dev libssl-dev
  fonts-dejavu-core fonts-noto-color-emoji xvfb xauth python3 util-linux iproute2
  clang libclang-rt-14-dev llvm-14 heaptrack
  xdg-utils msmtp python3-aiosmtpd
  dpkg-dev lintian desktop-file-utils appstream debootstrap
  qt6-serialport-dev socat
  qt6-httpserver-dev qt6-websockets-dev libqrencode-dev chromium ffmpeg
)
# npm comes from Debian only where the machine has none of its own.
command -v npm >/dev/null || PACKAGES+=(nodejs npm)
missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Node packages at the versions their lock files pin: the BIDS validator the
# export's tests run, and puppeteer-core for the tests of the tablet's page
# (it drives the system's chromium and downloads no browser).
install_locked() {
  local dir
  dir="$(cd "$(dirname "$0")/../$1" && pwd)"
  if ! cmp -s "$dir/package-lock.json" "$dir/node_modules/.installed-lock.json"; then
    (cd "$dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
    cp "$dir/package-lock.json" "$dir/node_modules/.installed-lock.json"
  fi
}
install_locked tools/bids
install_locked tools/webdrone-test
