#!/usr/bin/env bash
# Builds the Debian packages twice from this commit, in two fresh build folders one after the
# other, and checks that they are the same bytes: anyone can rebuild a release and compare it
# with the published one. Only the packaged programs are built (Release, no tests), without the
# compiler cache, so that each build really compiles. On a difference it names the differing
# files inside the packages.
# Usage: scripts/check-reproducible.sh [WORK_DIR]   (build/reproducible; both builds go below it)
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(realpath -m "${1:-build/reproducible}")
export CCACHE_DISABLE=1
rm -rf "$work"
mkdir -p "$work"

for round in first second; do
  began=$SECONDS
  cmake --preset release -B "$work/$round" >/dev/null
  cmake --build "$work/$round" -j "$(nproc)" >/dev/null
  (cd "$work/$round" && cpack -G DEB -B "$work/$round-packages" >/dev/null)
  echo "check-reproducible: $round build and packages in $((SECONDS - began)) s"
done
first=$work/first-packages
second=$work/second-packages

differing=0
for deb in "$first"/*.deb; do
  name=$(basename "$deb")
  if cmp -s "$deb" "$second/$name"; then
    echo "check-reproducible: $name is the same in both builds ($(sha256sum <"$deb" | cut -d' ' -f1))"
    continue
  fi
  differing=1
  echo "check-reproducible: $name differs between the builds" >&2
  diff <(dpkg-deb --info "$deb") <(dpkg-deb --info "$second/$name") >&2 || true
  diff <(dpkg-deb --contents "$deb") <(dpkg-deb --contents "$second/$name") >&2 || true
  dpkg-deb --raw-extract "$deb" "$work/unpacked-first/$name"
  dpkg-deb --raw-extract "$second/$name" "$work/unpacked-second/$name"
  diff -r "$work/unpacked-first/$name" "$work/unpacked-second/$name" >&2 || true
done
[ "$differing" -eq 0 ] || exit 1
echo "check-reproducible: both builds gave the same packages"
