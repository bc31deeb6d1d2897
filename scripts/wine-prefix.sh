#!/usr/bin/env bash
# Creates the project's wine prefix once (about 10 s on a fresh machine), so the
# first test does not pay for it or time out on it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="$root/build/wineprefix" WINEDEBUG=-all
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  mkdir -p "$WINEPREFIX"
  # Output to a file, not a pipe: wine's background processes would hold a pipe open.
  wineboot -i >"$root/build/wineboot.log" 2>&1
  wineserver -w
fi
# Without a display wine refuses to create windows, even hidden ones (the
# daemon's stop window); its null graphics driver accepts them.
if ! grep -q '"Graphics"="null"' "$WINEPREFIX/user.reg"; then
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$root/build/wineboot.log" 2>&1
  wineserver -w
fi
