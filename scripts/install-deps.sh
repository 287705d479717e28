#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, where missing.
# With --tools also what the screenshot and start-up benchmark scripts use under Xvfb; with
# --fuzz also clang with libFuzzer and the symbolizer that scripts/fuzz.sh uses; with --windows
# the MinGW-w64 cross-compiler, Wine and NSIS that scripts/test-windows.sh uses.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  # scripts/check-install.sh: validators of the desktop files, groff for the manual page,
  # dpkg-shlibdeps and file for CPack's package dependencies, lintian for the packages
  desktop-file-utils appstream libxml2-utils shared-mime-info groff-base dpkg-dev file lintian
  fonts-dejavu-core poppler-utils
)
for option in "$@"; do
  case $option in
    --tools) packages+=(xvfb xauth xdotool imagemagick time) ;;
    --fuzz) packages+=(clang libclang-rt-14-dev llvm) ;;
    # Wine's own fonts make the Windows program look as on Windows; xz unpacks the prepared Qt.
    --windows) packages+=(g++-mingw-w64-x86-64-posix wine64 nsis fonts-wine xz-utils) ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
else
  as_root=(sudo)
fi
"${as_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
