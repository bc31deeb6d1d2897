#!/usr/bin/env bash
# Builds the optimised native program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh cmake ninja-build g++ googletest libbenchmark-dev libssl-dev

cmake --preset release >/dev/null
cmake --build --preset release
echo "Built the tq library in build/release. The plandek daemon itself is not written yet."
