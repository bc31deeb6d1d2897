#!/usr/bin/env bash
# Runs a Windows executable under wine for ctest. No persistent wineserver:
# its helpers would inherit ctest's pipes and keep the test from ending.
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
exec wine "$@"
