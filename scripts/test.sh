#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test. No display needed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake --preset ci
cmake --build --preset ci -j "$(nproc)"
# The installation and the Debian package, before the tests so that their summary ends the run.
scripts/check-install.sh build/ci
ctest --preset ci
