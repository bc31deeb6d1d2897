#!/usr/bin/env bash
# Builds the optimised native build and runs every benchmark in it.
# Extra arguments go to each benchmark, e.g. --benchmark_min_time=0.01 for a smoke run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh cmake ninja-build g++ googletest libbenchmark-dev libssl-dev

cmake --preset release >/dev/null
cmake --build --preset release
shopt -s nullglob
for program in build/release/bench/*_bench; do
  echo "== $program"
  "$program" "$@"
done
