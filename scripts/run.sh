#!/usr/bin/env bash
# Builds the optimised native daemon and runs it in the foreground on examples/
# until Ctrl-C. Its log, plandek.log, is written beside the executable.
# The release preset builds the daemon alone: a compiler, CMake and Ninja suffice.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh cmake ninja-build g++

cmake --preset release >/dev/null
cmake --build --preset release --target plandek
executable="$PWD/build/release/daemon/plandek"
echo "Running plandek on examples/plandek.dat; the log is build/release/daemon/plandek.log. Ctrl-C stops it."
cd examples
exec "$executable"
