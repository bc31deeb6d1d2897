#!/usr/bin/env bash
# Runs a Windows executable under wine for ctest. No persistent wineserver:
# its helpers would inherit ctest's pipes and keep the test from ending.
#
# The program's output goes through a file for the same reason. A run that
# failed without a single byte of output is tried once more: every program
# run here prints before it can fail, and a CI run once saw a test "fail" in
# 0.03 s, less than wine needs to load a program at all. A program that
# really fails fails again.
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
output="$(mktemp)"
trap 'rm -f "$output"' EXIT
for attempt in 1 2; do
  wine "$@" >"$output" 2>&1
  status=$?
  if [[ $status -eq 0 || -s $output ]]; then break; fi
  echo "wine-run.sh: $1 ended with $status before any output (attempt $attempt)" >&2
done
cat "$output"
exit "$status"
