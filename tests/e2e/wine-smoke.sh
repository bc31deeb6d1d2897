#!/usr/bin/env bash
# Smoke test of plandek.exe under wine: an "@reboot" command and an
# every-minute command run through cmd.exe, and plandek.log beside the
# executable holds their records with CR LF line ends. The schedule is saved
# as Windows PowerShell 5.1 saves it, in UTF-16 LE with a byte-order mark, and
# sets a variable that the "@reboot" command writes out.
# Usage: wine-smoke.sh PATH-TO-plandek.exe
set -uo pipefail

source "$(dirname "$0")/wine-lib.sh" "$1" plandek.exe

{
  printf '\xff\xfe'
  printf 'PLANDEK_GREETING = "hello there"\r\n@reboot echo %%PLANDEK_GREETING%%> boot.txt\r\n* * * * * echo tick> tick.txt\r\n' |
    iconv -f UTF-8 -t UTF-16LE
} >"$workDir/plandek.dat"

# Output to files, never pipes: wine's helper processes would hold a pipe open.
(cd "$workDir" && wine ./plandek.exe >"$workDir/stdout" 2>"$workDir/stderr") &

status=0
# Generous: every wine process costs seconds to start, more on a busy machine.
for _ in $(seq 1 600); do
  [[ -f $workDir/boot.txt && -f $workDir/tick.txt ]] &&
    (($(grep -c 'SEVERE: Starting' "$workDir/plandek.log" 2>/dev/null) >= 2)) && break
  sleep 0.1
done
wine taskkill /im plandek.exe >"$workDir/taskkill.out" 2>&1
# The closing empty line is the last thing plandek writes.
for _ in $(seq 1 300); do
  [[ "$(tail -c 4 "$workDir/plandek.log" | od -An -c | tr -d ' ')" == '\r\n\r\n' ]] && break
  sleep 0.1
done

expect() {
  if ! grep -aqF -- "$1" "$workDir/plandek.log"; then
    echo "FAILED: plandek.log lacks: $1"
    status=1
  fi
}
[[ -f $workDir/boot.txt ]] || { echo "FAILED: the @reboot command did not run"; status=1; }
[[ "$(tr -d '\r' <"$workDir/boot.txt" 2>/dev/null)" == "hello there" ]] ||
  { echo "FAILED: the @reboot command did not see its variable: $(cat "$workDir/boot.txt" 2>/dev/null)"; status=1; }
[[ -f $workDir/tick.txt ]] || { echo "FAILED: the every-minute command did not run"; status=1; }
expect $'SEVERE: Reloaded crons -> [@reboot=echo %PLANDEK_GREETING%> boot.txt, * * * * *=echo tick> tick.txt]\r'
expect $'SEVERE: Starting echo %PLANDEK_GREETING%> boot.txt\r'
expect $'SEVERE: Starting echo tick> tick.txt\r'
expect $' plandek\r'
[[ "$(tail -c 4 "$workDir/plandek.log" | od -An -c | tr -d ' ')" == '\r\n\r\n' ]] ||
  { echo "FAILED: no closing empty line after the stop"; status=1; }
if ((status != 0)); then
  echo "log was:"
  cat -A "$workDir/plandek.log" 2>/dev/null | head -20
  echo "0 passed, 1 failed"
else
  echo "1 passed, 0 failed"
fi
exit "$status"
