#!/usr/bin/env bash
# The Windows leg: cross-builds the Windows program, its tests and its installer with MinGW-w64
# against the prepared Qt for Windows, runs the tests under Wine (the OPU link against the
# simulated OPU through a Wine COM port), and installs, starts and removes the installer's program
# under Wine. Skips, saying why, where no Qt for Windows is at hand. Each step's time is printed.
# Usage: test-windows.sh [simulator]   (default build/ci/tools/opu-sim/ukova-opu-sim, built by scripts/test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
qt_archive_name=qt6.4.2-mingw64.tar.xz
cache=${UKOVA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/ukova-programmer}
timings=()
step() {
  local name=$1 began=$SECONDS
  shift
  "$@"
  timings+=("$(printf '%-28s %4d s' "$name" $((SECONDS - began)))")
}

archive=""
for candidate in "${UKOVA_QT_WINDOWS_ARCHIVE:-}" "../shared/qt-windows/$qt_archive_name" \
  "$cache/$qt_archive_name"; do
  if [ -n "$candidate" ] && [ -f "$candidate" ]; then
    archive=$candidate
    break
  fi
done
if [ -z "$archive" ]; then
  echo "Skipping the Windows leg: no Qt for Windows at ../shared/qt-windows/$qt_archive_name" \
    "or $cache/$qt_archive_name. scripts/build-qt-windows.sh builds it there once" \
    "(about an hour on 2 cores)."
  exit 0
fi

unpack_qt() {
  # Unpacked again only when the archive changes.
  local stamp=build/qt6-mingw64/.unpacked-from
  local identity
  identity=$(stat -c '%s %Y' "$archive")
  if [ "$(cat "$stamp" 2>/dev/null)" != "$identity" ]; then
    rm -rf build/qt6-mingw64
    mkdir -p build
    tar -C build -xJf "$archive"
    echo "$identity" >"$stamp"
  fi
}

# Wine's server and prefix, started and made ready before the tests: otherwise the first test pays
# for both and can run out of its time. The server stays up between the tests and ends by itself a
# minute after the last Windows program.
start_wine() {
  export WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix}
  local server=/usr/lib/wine/wineserver
  if command -v wineserver >/dev/null; then server=$(command -v wineserver); fi
  mkdir -p "$WINEPREFIX"
  "$server" -p60
  # Returns once the prefix is made (Windows 10, as cmake/wine-run.sh sets it up) and started.
  cmake/wine-run.sh wineboot
}

step "windows set-up" scripts/install-deps.sh --windows
step "windows Qt" unpack_qt
step "windows configure" cmake --preset windows -DUKOVA_OPU_SIM="$(realpath -m "${1:-build/ci/tools/opu-sim/ukova-opu-sim}")"
step "windows build" cmake --build --preset windows -j "$(nproc)"
step "windows Wine start" start_wine
step "windows tests (Wine)" ctest --preset windows
step "windows installer" cpack --config build/windows/CPackConfig.cmake -B build/windows
step "windows installation check" scripts/check-install-windows.sh build/windows

printf '%s\n' "${timings[@]}"
