#!/usr/bin/env bash
# Runs a Windows test program with the simulated OPU behind a Wine COM port.
# Usage: with-simulated-opu.sh SIMULATOR comN [SIMULATOR ARGUMENTS...] -- COMMAND...
# The simulator presses the button at once; its port is linked as $WINEPREFIX/dosdevices/comN and
# named to the test as UKOVA_TEST_PORT (and to the stand-in D2XX library as UKOVA_STANDIN_PORT).
set -euo pipefail
simulator=$1 port=$2
shift 2
arguments=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  arguments+=("$1")
  shift
done
shift
source=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$source/build/wineprefix}
mkdir -p "$WINEPREFIX/dosdevices"
link=$WINEPREFIX/dosdevices/$port
rm -f "$link"
log=$(mktemp -t opu-sim.XXXXXX)
"$simulator" --button-delay 0 --link "$link" --log "$log" "${arguments[@]}" </dev/null >/dev/null &
simulator_pid=$!
trap 'kill "$simulator_pid" 2>/dev/null; wait "$simulator_pid" 2>/dev/null; rm -f "$log"' EXIT
for _ in $(seq 100); do
  [ -L "$link" ] && break
  sleep 0.05
done
export UKOVA_TEST_PORT=${port^^} UKOVA_STANDIN_PORT=${port^^}
status=0
"$@" || status=$?
if [ "$status" -ne 0 ]; then
  echo "The simulated OPU's conversation:"
  cat "$log"
fi
exit "$status"
