#!/usr/bin/env bash
# Tries the program without a programming unit: builds in Release, starts the simulated OPU on a
# pseudo-terminal and the program on that port. The simulated pendant presses its button 3
# seconds after the program asks (UKOVA_DEMO_BUTTON_DELAY=ms changes that). The simulator's
# conversation log goes to a file, named at the start; closing the program stops the simulator.
# Further arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

log=${UKOVA_DEMO_LOG:-$(mktemp --tmpdir ukova-opu-sim.XXXXXX.log)}
coproc simulator {
  exec build/release/tools/opu-sim/ukova-opu-sim \
    --button-delay "${UKOVA_DEMO_BUTTON_DELAY:-3000}" --log "$log" </dev/null
}
# shellcheck disable=SC2154  # coproc sets simulator_PID
simulator_pid=$simulator_PID
trap 'kill "$simulator_pid" 2>/dev/null || true' EXIT
read -r port <&"${simulator[0]}" || {
  echo "demo: the simulated OPU did not start; see $log" >&2
  exit 1
}
echo "Simulated OPU on $port, its log in $log"
build/release/ukova-programmer --opu-port="$port" "$@"
