#!/usr/bin/env bash
# End-to-end tests of the real plandek executable on Linux. Each scenario runs
# a copy of the executable in a fresh folder under libfaketime, 60 times as
# fast as the wall clock, and checks plandek.log byte for byte and what the
# commands themselves left behind. A second of the wall clock is a minute here:
# the checks judge the records' order and minutes, never their seconds.
# Usage: e2e.sh PATH-TO-plandek
# Prints "N passed, N failed" and exits non-zero when a scenario failed.
set -uo pipefail

readonly executable="$(realpath "$1")"
source "$(dirname "$0")/lib.sh"

# Start-up entries run once; an every-minute entry runs at once, then in each
# following minute.
startUpAndEveryMinute() {
  printf '@reboot echo boot >> boot.txt\n* * * * * echo tick >> ticks.txt\n' >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:07"
  waitForLines "$workDir/ticks.txt" 4 tick || return
  stopDaemon
  local log
  log="$(cat "$workDir/plandek.log")"
  # The fake clock starts with the process: on a busy machine the first load
  # may come seconds later, which may be the next fake minute.
  [[ $log == "${CRLF}12-13-2026 12:0"?:??" plandek${CRLF}SEVERE: Reloaded crons -> [@reboot=echo boot >> boot.txt, * * * * *=echo tick >> ticks.txt]${CRLF}"* ]] ||
    fail "log does not begin with an empty line and the reload record"
  endsWithClosingEmptyLine || fail "log does not end with the closing empty line"
  (($(grep -c boot "$workDir/boot.txt") == 1)) || fail "@reboot did not run exactly once"
  local firstMinute minutes
  firstMinute=$((10#$(logLines | sed -n 2p | cut -c15-16)))
  minutes="$(startTimes "echo tick >> ticks.txt" | cut -c12-16 | head -3 | tr '\n' ' ')"
  [[ $minutes == "$(printf '12:%02d ' "$firstMinute" $((firstMinute + 1)) $((firstMinute + 2)))" ]] ||
    fail "the every-minute entry started at $minutes, not from the first load's minute on"
  # The commands go on after the stop: wait for the last ones' lines.
  waitForLines "$workDir/ticks.txt" "$(logCount '^SEVERE: Starting echo tick >> ticks.txt$')" tick ||
    fail "started records and runs differ"
  expectWholeLog
}

# One reload per edit, none for an identical rewrite; a deleted file empties
# the list and a restored one loads again.
reloadsOnlyOnChange() {
  printf '0 0 1 1 * echo never\n' >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/plandek.log" 1 'Reloaded crons' || return
  sleep 1.2
  printf '0 0 1 1 * echo never\n' >"$workDir/plandek.dat"
  sleep 1.2
  printf '0 0 1 1 * echo edited\n' >"$workDir/plandek.dat"
  waitForLines "$workDir/plandek.log" 2 'Reloaded crons' || return
  rm "$workDir/plandek.dat"
  waitForLines "$workDir/plandek.log" 1 'Reloaded crons -> \[\]' || return
  printf '0 0 1 1 * echo edited\n' >"$workDir/plandek.dat"
  waitForLines "$workDir/plandek.log" 4 'Reloaded crons' || return
  sleep 1.2
  stopDaemon
  local reloads
  logLines >/dev/null
  reloads="$(grep -a '^SEVERE: Reloaded' "$workDir/log.txt")"
  [[ $reloads == "SEVERE: Reloaded crons -> [0 0 1 1 *=echo never]
SEVERE: Reloaded crons -> [0 0 1 1 *=echo edited]
SEVERE: Reloaded crons -> []
SEVERE: Reloaded crons -> [0 0 1 1 *=echo edited]" ]] || fail "reloads were: $reloads"
}

# Bad lines are skipped and named; odd line ends, zero bytes and a 1 MB line
# neither crash the daemon nor run anything.
badLinesAreSkipped() {
  {
    printf 'x * * * * echo typo >> ran.txt\r'
    printf '* * * * * echo "quoted  blanks" >> ok.txt\r\n'
    printf '75 * * * * echo range >> ran.txt\n'
    printf '* * * * *\n'
    head -c 1000000 /dev/zero | tr '\0' 'a'
    printf '\n\x01\x02\xff\x00\x7f binary\n'
  } >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/ok.txt" 2 'quoted  blanks' || return
  stopDaemon
  [[ ! -e $workDir/ran.txt ]] || fail "a skipped line ran"
  logHas '^SEVERE: Skipped line 1 (minute: x is not a number): x \* \* \* \* echo typo >> ran.txt' ||
    fail "line 1 not reported"
  logHas '^SEVERE: Skipped line 3 (minute 75 is not in 0-59): 75 ' || fail "line 3 not reported"
  logHas '^SEVERE: Skipped line 4 (no command after the five time fields): ' || fail "line 4 not reported"
  logHas '^SEVERE: Starting echo "quoted  blanks" >> ok.txt' || fail "command not kept as written"
}

# Environment lines apply to the entries below them: SHELL names their
# interpreter (bash knows "[[", /bin/sh, which is dash here, does not), a PATH
# line finds a program of the scenario's own; neither shows in the reload
# record. A refused line says why.
environmentLines() {
  mkdir "$workDir/tools"
  printf '#!/bin/sh\necho found >> found.txt\n' >"$workDir/tools/plandek-tool"
  chmod +x "$workDir/tools/plandek-tool"
  {
    printf '* * * * * [[ -n $BASH_VERSION ]] || echo sh >> sh.txt\n'
    printf 'SHELL=/bin/bash\n'
    printf '* * * * * [[ -n $BASH_VERSION ]] && echo bash >> bash.txt\n'
    printf 'PATH = "%s/tools:/usr/bin:/bin"\n' "$workDir"
    printf '* * * * * plandek-tool\n'
    printf '5 25 * * * echo never >> never.txt\n'
  } >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/sh.txt" 2 sh || return
  waitForLines "$workDir/bash.txt" 2 bash || return
  waitForLines "$workDir/found.txt" 2 found || return
  stopDaemon
  local reload
  logLines >/dev/null
  reload="$(grep -a '^SEVERE: Reloaded' "$workDir/log.txt")"
  [[ $reload == 'SEVERE: Reloaded crons -> [* * * * *=[[ -n $BASH_VERSION ]] || echo sh >> sh.txt, * * * * *=[[ -n $BASH_VERSION ]] && echo bash >> bash.txt, * * * * *=plandek-tool]' ]] ||
    fail "reload was: $reload"
  logHas '^SEVERE: Skipped line 6 (hour 25 is not in 0-23): 5 25 \* \* \* echo never >> never.txt' ||
    fail "line 6 not reported with its reason"
  expectWholeLog
}

# Two hundred commands due in the same minute: two hundred whole records.
manyCommandsInOneMinute() {
  for number in $(seq 1 200); do echo "* * * * * echo $number > job-$number.txt"; done >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  local waited=0
  while (($(compgen -G "$workDir/job-*.txt" | wc -l) < 200)) && ((waited < 300)); do
    sleep 0.1
    waited=$((waited + 1))
  done
  stopDaemon
  for number in $(seq 1 200); do
    (($(logCount "^SEVERE: Starting echo $number > job-$number.txt$") >= 1)) || fail "no record for $number"
  done
  expectWholeLog
}

# A stop while commands still run ends the daemon at once, log closed.
stopWhileCommandsRun() {
  printf '@reboot sleep 30\n* * * * * sleep 30\n' >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/plandek.log" 2 '^SEVERE: Starting sleep 30' || return
  stopDaemon
  endsWithClosingEmptyLine || fail "no closing empty line"
  endCommandsLeft
}

runScenario startUpAndEveryMinute
runScenario reloadsOnlyOnChange
runScenario badLinesAreSkipped
runScenario environmentLines
runScenario manyCommandsInOneMinute
runScenario stopWhileCommandsRun

echo "$passed passed, $failed failed"
((failed == 0))
