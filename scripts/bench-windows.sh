#!/usr/bin/env bash
# Builds the Windows cross build and runs its benchmark program under wine:
# each digest's chosen compression against the portable one. Wine runs the
# processor's own instructions, so the ratios are meaningful.
# An optional argument sets each run's length in seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64
scripts/wine-prefix.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target digest_paths
output="$(mktemp)"
# To a file, not a pipe: wine's helpers would keep a pipe open after the program ends.
scripts/wine-run.sh build/windows/bench/digest_paths.exe "$@" >"$output" 2>&1 || { cat "$output"; exit 1; }
cat "$output"
rm -f "$output"
WINEPREFIX="$PWD/build/wineprefix" wineserver -k 2>/dev/null || true
