#!/usr/bin/env bash
# One plandek.exe per working directory, under wine: a second start beside a
# running one logs "Already running in" the folder and exits with 1, starting
# nothing; once the first has stopped, a new start runs as the first did.
# Usage: wine-instance.sh PATH-TO-plandek.exe
set -uo pipefail

source "$(dirname "$0")/wine-lib.sh" "$1" plandek.exe

printf '@reboot echo boot>> boot.txt\r\n' >"$workDir/plandek.dat"
status=0

failed() {
  echo "FAILED: $*"
  status=1
}

recordCount() {
  if [[ -f $workDir/plandek.log ]]; then grep -ac -- "$1" "$workDir/plandek.log"; else echo 0; fi
}

# Waits (up to 60 real seconds: every wine process costs seconds to start)
# until the log holds $1 records matching $2 and boot.txt $3 lines.
waitFor() {
  for _ in $(seq 1 600); do
    (($(recordCount "$2") >= $1)) && [[ -f $workDir/boot.txt ]] && (($(grep -c boot "$workDir/boot.txt") >= $3)) &&
      return 0
    sleep 0.1
  done
  failed "timed out waiting for $1 records '$2' and $3 boots"
  return 1
}

# Output to files, never pipes: wine's helper processes would hold a pipe open.
startFirst() {
  (cd "$workDir" && wine ./plandek.exe >"$workDir/stdout" 2>"$workDir/stderr") &
  firstPid=$!
}

# taskkill, then the closing empty line, the last thing plandek writes.
stopFirst() {
  wine taskkill /im plandek.exe >"$workDir/taskkill.out" 2>&1
  for _ in $(seq 1 300); do
    kill -0 "$firstPid" 2>/dev/null || break
    sleep 0.1
  done
  wait "$firstPid" || failed "the first plandek.exe ended with code $?"
  [[ "$(tail -c 4 "$workDir/plandek.log" | od -An -c | tr -d ' ')" == '\r\n\r\n' ]] ||
    failed "no closing empty line after the stop"
}

startFirst
waitFor 1 'SEVERE: Reloaded crons' 1
(cd "$workDir" && wine ./plandek.exe >"$workDir/second.stdout" 2>"$workDir/second.stderr") &
secondPid=$!
for _ in $(seq 1 600); do
  kill -0 "$secondPid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$secondPid" 2>/dev/null; then
  failed "the second start is still running"
else
  wait "$secondPid"
  code=$?
  ((code == 1)) || failed "the second start ended with code $code, not 1"
fi
(($(recordCount $'^SEVERE: Already running in [A-Z]:\\\\.*'"$(basename "$workDir")"$'\r$') == 1)) ||
  failed "no record 'Already running in' the folder"
kill -0 "$firstPid" 2>/dev/null || failed "the first plandek.exe has gone"
stopFirst
(($(recordCount 'SEVERE: Reloaded crons') == 1)) || failed "the second start loaded the schedule"
(($(grep -c boot "$workDir/boot.txt") == 1)) || failed "the second start ran the @reboot entry"

refusals=$(recordCount 'SEVERE: Already running')
startFirst
waitFor 2 'SEVERE: Reloaded crons' 2
stopFirst
(($(recordCount 'SEVERE: Already running') == refusals)) || failed "the start after the stop was refused"

if ((status != 0)); then
  echo "log was:"
  cat -A "$workDir/plandek.log" 2>/dev/null | head -30
  echo "0 passed, 1 failed"
else
  echo "1 passed, 0 failed"
fi
exit "$status"
