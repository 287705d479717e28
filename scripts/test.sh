#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test (the fuzz targets'
# corpus replays among them); then the whole suite again under the sanitizers and, when run as
# root, the end-to-end tests as a normal user. No display needed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake --preset ci
cmake --build --preset ci -j "$(nproc)"
# The installation and the Debian package, before the tests so that their summary ends the run.
scripts/check-install.sh build/ci
ctest --preset ci
# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer, leaks checked.
cmake --preset asan
cmake --build --preset asan -j "$(nproc)"
ctest --preset asan
# Root passes the permission checks and the exclusive-port flag that a normal user meets.
scripts/test-as-user.sh build/ci
