#!/usr/bin/env bash
# Runs every fuzz target (or those named) with libFuzzer for a time budget each, keeps the new
# inputs that add coverage in fuzz/corpus/<target>/, and reports executions, findings and the
# edge coverage of the file each target is about. Findings are written to build/fuzz/findings/.
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true

# The file whose coverage tells how well a target reaches its parser.
declare -A parser_of=(
  [OpuAnswers]=link/opu/OpuLink.cpp
  [IniRoundTrip]=files/IniFile.cpp
  [ImageShowBuild]=image/ImageCodec.cpp
  [FieldRulesText]=image/FieldRules.cpp
)
# Inputs of the OPU target are whole conversations: short ones keep the executions many.
declare -A options_of=([OpuAnswers]=-max_len=512)
if [ $# -gt 0 ]; then targets=("$@"); else targets=(OpuAnswers IniRoundTrip ImageShowBuild FieldRulesText); fi

scripts/install-deps.sh --fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2 --target "${targets[@]/#/fuzz_}"

bin=build/fuzz/fuzz
findings=build/fuzz/findings
mkdir -p "$findings"
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for target in "${targets[@]}"; do
  corpus=fuzz/corpus/$target
  fresh=$(mktemp -d)
  log=build/fuzz/$target.log
  echo "== $target: $seconds s"
  # New inputs go to the first folder; the checked-in corpus seeds the run.
  if ! "$bin/fuzz_$target" ${options_of[$target]:-} -max_total_time="$seconds" -timeout=10 \
      -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" "$fresh" "$corpus" >"$log" 2>&1; then
    echo "   FINDING: see $log and $findings/"
    failed=1
  fi
  # Only the inputs that reach code the corpus did not reach are kept.
  "$bin/fuzz_$target" -merge=1 "$corpus" "$fresh" >>"$log" 2>&1
  rm -rf "$fresh"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  echo "   executions: ${runs:-?}, corpus: $(ls "$corpus" | wc -l) inputs"
  # Edge coverage of the parser's file over the whole corpus, from libFuzzer's own table.
  "$bin/fuzz_$target" -runs=0 -print_coverage=1 "$corpus" 2>&1 |
    awk -v file="${parser_of[$target]}" '
      /^(COVERED|UNCOVERED)_FUNC:/ && index($0, file) {
        split($5, edges, "/"); covered += edges[1]; total += edges[2]
      }
      END { if (total) printf "   %s: %d of %d edges (%.0f %%)\n", file, covered, total, 100 * covered / total }'
done
exit $failed
