#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target in fuzz/ for N
# seconds each (default 30). Each target starts from its committed seeds,
# copied into build/fuzz/corpus/<target> so that new inputs stay out of the
# repository. A crash, leak or timeout fails the run and names the reproducer.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
targets=(schedule_fuzz string_fuzz bundle_fuzz format_fuzz digest_fuzz)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

for target in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$target
  artifacts=build/fuzz/artifacts/$target/
  mkdir -p "$corpus" "$artifacts"
  cp -n fuzz/corpus/"$target"/* "$corpus"/
  log=build/fuzz/$target.log
  echo "-- $target: ${seconds}s"
  if ! build/fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "FAILED: $target; reproducer:" $(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log")
    echo "Run it again with: build/fuzz/fuzz/$target <reproducer>"
    exit 1
  fi
  grep -E '^#[0-9]+.*DONE|stat::number_of_executed_units|stat::average_exec_per_sec' "$log" | tr '\n' ' '
  echo
done
