#!/usr/bin/env bash
# Installs the Debian packages on a clean Debian 12 root and runs the
# programs there (scripts/check-installed.sh), in three rounds:
#   1. apt-get install ./tavoren_*.deb alone: tavoren-cli and the timekeeper;
#   2. tavoren purged, apt-get install ./tavoren-drone_*.deb alone: the drone;
#   3. apt-get install ./tavoren*.deb: a drone and a timekeeper linked.
# The root is made with debootstrap from the archive this machine's apt
# reads; the programs run in a network namespace of their own (loopback
# only). Not part of the test suite: it downloads a whole system. Needs root.
# The programs' screenshots, output and label file are left in
# build/check-packages/; downloads are kept in build/debootstrap-cache/ and
# build/check-packages-archives/ for the next run.
#
#   scripts/check-packages.sh
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
  echo "check-packages: needs root (debootstrap, chroot, mount)" >&2
  exit 2
fi
bash scripts/package.sh
project="$(pwd)"
results="$project/build/check-packages"
# Downloaded packages are kept for the next run.
cache="$project/build/debootstrap-cache"
archives="$project/build/check-packages-archives"
rm -rf "$results"
mkdir -p "$results" "$cache" "$archives/partial"

# The site apt reads SUITE's main component from.
archive_of() {
  apt-get indextargets --format '$(SITE) $(RELEASE) $(COMPONENT)' 'Created-By: Packages' |
    awk -v suite="$1" '$2 == suite && $3 == "main" { print $1; exit }'
}
archive="$(archive_of bookworm)"
security="$(archive_of bookworm-security)"
if [ -z "$archive" ]; then
  echo "check-packages: apt reads no bookworm archive here" >&2
  exit 2
fi

root="$(mktemp -d /var/tmp/tavoren-check-root.XXXXXX)"
mounted=()
cleanup() {
  local i
  cp -r "$root/check/." "$results/" 2>/dev/null || true
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[$i]}" || umount -l "${mounted[$i]}"; done
  if findmnt -rn -o TARGET | grep -q "^$root"; then
    echo "check-packages: something is still mounted under $root; left in place" >&2
  else
    rm -rf --one-file-system "$root"
  fi
}
trap cleanup EXIT
mount_in_root() {
  mount "$@"
  mounted+=("${*: -1}")
}

echo "check-packages: debootstrap bookworm from $archive into $root"
debootstrap --variant=minbase --cache-dir="$cache" bookworm "$root" "$archive" >"$results/debootstrap.log" 2>&1 ||
  { tail -20 "$results/debootstrap.log" >&2; exit 1; }
{
  echo "deb $archive bookworm main"
  echo "deb $archive bookworm-updates main"
  if [ -n "$security" ]; then echo "deb $security bookworm-security main"; fi
} >"$root/etc/apt/sources.list"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# No services start inside the root.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
mount_in_root -t proc proc "$root/proc"
mount_in_root -t sysfs sysfs "$root/sys"
mount_in_root -t tmpfs tmpfs "$root/dev/shm"
mount_in_root --bind "$archives" "$root/var/cache/apt/archives"

mkdir -p "$root/packages" "$root/check"
cp build/packages/*.deb "$root/packages/"
install -m 755 scripts/check-installed.sh "$root/usr/local/bin/check-installed"

in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}
# In a network namespace of its own, with only loopback up.
run_in_root() {
  unshare --net sh -c 'ip link set lo up && exec "$@"' sh chroot "$root" /usr/bin/env -i \
    PATH=/usr/local/bin:/usr/bin:/bin HOME=/root LANG=C.UTF-8 "$@"
}
# apt-get ARGS in the root's /packages, where the .deb files are.
apt_in_root() {
  echo "check-packages: apt-get $*"
  in_root sh -c "cd /packages && apt-get $*" >>"$results/apt.log" 2>&1 || { tail -30 "$results/apt.log" >&2; exit 1; }
}

apt_in_root update
echo "check-packages: round 1, the timekeeper's package alone"
apt_in_root install -y './tavoren_*.deb'
run_in_root check-installed /check/timekeeper
echo "check-packages: round 2, the drone's package alone"
apt_in_root purge -y --autoremove tavoren
apt_in_root install -y './tavoren-drone_*.deb'
run_in_root check-installed /check/drone
echo "check-packages: round 3, both"
apt_in_root install -y './tavoren*.deb'
run_in_root check-installed /check/session
in_root dpkg-query -W -f '${Package} ${Version}\n' tavoren tavoren-drone | sed 's/^/check-packages: installed /'
echo "check-packages: passed; screenshots, drone output and label file in build/check-packages/"
