#!/usr/bin/env bash
# Installs what is missing, builds the program in Release and starts it.
# Arguments are passed to the program (e.g. -SERVICE, a folder, a file, --opu-port=PATH).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
exec build/release/ukova-programmer "$@"
