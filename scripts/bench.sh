#!/usr/bin/env bash
# Builds the bench preset (optimised, native, benchmarks but no tests) and runs
# every benchmark in it.
# Extra arguments go to each benchmark, e.g. --benchmark_min_time=0.01 for a smoke run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh cmake ninja-build g++ libbenchmark-dev libssl-dev

cmake --preset bench >/dev/null
cmake --build --preset bench
shopt -s nullglob
for program in build/bench/bench/*_bench; do
  echo "== $program"
  "$program" "$@"
done
echo "== build/bench/bench/digest_paths"
build/bench/bench/digest_paths
