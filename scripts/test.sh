#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test (the fuzz targets'
# corpus replays among them), checks that the Debian packages build reproducibly; then the whole
# suite again under the sanitizers and, when run as root, the end-to-end tests as a normal user;
# last the Windows leg (scripts/test-windows.sh). No display needed. Each step's time is printed,
# so that a run that creeps towards CI's budget shows where.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
timings=()
step() {
  local name=$1 began=$SECONDS
  shift
  "$@"
  timings+=("$(printf '%-28s %4d s' "$name" $((SECONDS - began)))")
}

step "set-up" scripts/install-deps.sh
step "configure" cmake --preset ci
step "build" cmake --build --preset ci -j "$(nproc)"
# The installation and the Debian package, before the tests so that their summary ends the run.
step "installation check" scripts/check-install.sh build/ci
# Two Release builds of the packaged programs in two folders give the same Debian packages.
step "reproducible packages" scripts/check-reproducible.sh
step "tests" ctest --preset ci
# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer, leaks checked.
step "sanitizer configure" cmake --preset asan
step "sanitizer build" cmake --build --preset asan -j "$(nproc)"
step "sanitizer tests" ctest --preset asan
# Root passes the permission checks and the exclusive-port flag that a normal user meets.
step "tests as a normal user" scripts/test-as-user.sh build/ci
# The Windows program, its tests under Wine against this build's simulated OPU, its installer.
step "windows leg" scripts/test-windows.sh build/ci/tools/opu-sim/ukova-opu-sim

printf '%s\n' "${timings[@]}" "$(printf '%-28s %4d s' total "$SECONDS")"
