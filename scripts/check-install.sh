#!/usr/bin/env bash
# Installs a built tree into a scratch folder and checks it as a desktop would read it: the
# launcher, the metainfo, the file type, the device rule, the manual page; starts the installed
# program (it must answer --version without a display and find its templates), then builds the
# Debian packages, checks them with lintian and lists their files.
# Usage: scripts/check-install.sh [BUILD_DIR [PACKAGE_DIR]]  (build/ci; PACKAGE_DIR keeps the .debs)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
keep=${2:-}
id=de.orvel.UkovaProgrammer
scratch=$(mktemp -d)
program_pid=
cleanup() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "check-install: $*" >&2
  exit 1
}

root=$scratch/root
usr=$root/usr
for component in program simulator; do
  DESTDIR=$root cmake --install "$build" --prefix /usr --component "$component" >/dev/null
done

desktop-file-validate "$usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml"
xmllint --noout --relaxng packaging/shared-mime-info.rng "$usr/share/mime/packages/$id.xml"
# The tables a file manager looks types up in must give *.ukova our type.
XDG_DATA_DIRS=$usr/share update-mime-database "$usr/share/mime"
grep -q ':application/x-ukova-configuration:\*\.ukova$' "$usr/share/mime/globs2" ||
  fail "update-mime-database did not take *.ukova"
rules=$usr/lib/udev/rules.d/70-ukova-opu.rules
if command -v udevadm >/dev/null && udevadm verify --help >/dev/null 2>&1; then
  udevadm verify "$rules"
else
  echo "check-install: this udevadm has no 'verify' (udev before 254): the device rule is not checked"
fi
for page in ukova-programmer ukova-opu-sim; do
  manual_warnings=$(zcat "$usr/share/man/man1/$page.1.gz" | groff -k -man -Tutf8 -ww -z 2>&1)
  [ -z "$manual_warnings" ] || fail "manual page $page: $manual_warnings"
done

# No display at all: --help and --version must not need one.
headless=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$usr/bin/ukova-programmer")
# The build's version: the release, and the count of commits when built from git.
release=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
reported=$("${headless[@]}" --version)
version=${reported#ukova-programmer }
[[ "$reported" = "ukova-programmer $version" && ("$version" = "$release" ||
  "$version" =~ ^"$release"\+git[0-9]+$) ]] || fail "--version said \"$reported\""
"${headless[@]}" --help | grep -q -- '--opu-port=PFAD' || fail "--help"
status=0
"${headless[@]}" --no-such-option 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with $status instead of 2"

# A first start of the installed program copies the factory image from its own templates.
home=$scratch/home
mkdir -p "$home"
factory="$home/.local/share/ORVEL/U-KOVA Programmer (DE)/Default.bin"
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" QT_QPA_PLATFORM=offscreen \
  "$usr/bin/ukova-programmer" >/dev/null 2>&1 &
program_pid=$!
for _ in $(seq 1 100); do
  [ -s "$factory" ] && break
  sleep 0.1
done
cmp -s "$factory" templates/Default.b || fail "the installed program did not provision $factory"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=

(cd "$build" && cpack -G DEB -B "$scratch/packages" >/dev/null)
# Debian's own checks of the packages: an error fails, a warning is shown.
lintian --fail-on error "$scratch"/packages/*.deb ||
  fail "lintian found errors in the Debian packages"
for deb in "$scratch"/packages/*.deb; do
  echo "== $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB)"
  # The package names the version that the program reports, in its control file and file name.
  [ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "$(basename "$deb") is no $version"
  [[ "$(basename "$deb")" = *_"${version}"_*.deb ]] || fail "$(basename "$deb") is not named $version"
  dpkg-deb --field "$deb" Package Version Installed-Size Depends Recommends
  dpkg-deb --contents "$deb" | awk '{print $1, $3, $6}'
done
# SHA256SUMS beside the packages names each of them, with its right sum.
(cd "$scratch/packages" && sha256sum --check --strict --quiet SHA256SUMS) ||
  fail "SHA256SUMS does not match the packages"
listed=$(cut -d' ' -f3 "$scratch/packages/SHA256SUMS")
built=$(cd "$scratch/packages" && LC_ALL=C ls -1 -- *.deb)
[ "$listed" = "$built" ] || fail "SHA256SUMS names $listed instead of $built"
if [ -n "$keep" ]; then
  mkdir -p "$keep"
  cp "$scratch"/packages/*.deb "$scratch/packages/SHA256SUMS" "$keep"/
fi
echo "check-install: the installed tree and the packages are sound"
