#!/usr/bin/env bash
# Start-up figures of the program under Xvfb: time from launch until the main window is mapped
# (first paint), and peak resident memory (/usr/bin/time -v). Median of N runs.
# Usage: bench/startup.sh [runs] [program]   (default: 5 runs, build/release/ukova-programmer)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
program="$(realpath "${2:-build/release/ukova-programmer}")"
scripts/install-deps.sh --tools
for tool in xvfb-run xdotool /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "needs $tool (apt-get install xvfb xdotool time)"; exit 1; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cat >"$scratch/one-run.sh" <<'RUN'
#!/usr/bin/env bash
# Runs inside Xvfb: launches the program with a fresh home, waits for its window, ends it.
set -euo pipefail
program="$1"; out="$2"
export HOME="$(mktemp -d)"
start=$(date +%s%N)
/usr/bin/time -v -o "$out.time" "$program" &
timer=$!
# xdotool's own --sync looks only every half second; look every 5 ms instead.
until xdotool search --onlyvisible --name "U-KOVA" >/dev/null 2>&1; do sleep 0.005; done
painted=$(date +%s%N)
echo $(( (painted - start) / 1000000 )) >"$out.paint"
sleep 0.5
# The program is the timer's one child: ended by its parent's id, never by a name that would match
# anyone else's copy.
pkill -TERM -P "$timer" || true
wait "$timer" || true
rm -rf "$HOME"
RUN
chmod +x "$scratch/one-run.sh"

paints=()
rss=()
for i in $(seq "$runs"); do
  xvfb-run -a -s "-screen 0 1280x800x24" "$scratch/one-run.sh" "$program" "$scratch/run$i" 2>/dev/null
  paints+=("$(cat "$scratch/run$i.paint")")
  rss+=("$(awk -F': ' '/Maximum resident set size/ {print $2}' "$scratch/run$i.time")")
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "runs: $runs"
echo "time to first paint (ms): ${paints[*]}  median $(median "${paints[@]}")"
echo "peak RSS (kB):            ${rss[*]}  median $(median "${rss[@]}")"
