#!/usr/bin/env bash
# Takes the README's screenshot of the main window under Xvfb, with a fresh home folder and a
# German locale. Usage: tools/screenshot.sh [output.png] [program arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
output="$(realpath -m "${1:-docs/main-window.png}")"
shift || true
scripts/install-deps.sh --tools
program="$(realpath build/release/ukova-programmer)"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
HOME="$home" LANG=de_DE.UTF-8 xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  "$0" "${@:2}" &
  window=$(xdotool search --sync --onlyvisible --name "U-KOVA" | head -1)
  sleep 1
  import -window "$window" "$1"
  kill %1' "$program" "$output" "$@"
echo "$output"
