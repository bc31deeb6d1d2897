#!/usr/bin/env bash
# One plandek per working directory, and the signals: a second start in the
# same folder (or of another copy of the executable that works in the same
# folder) is refused with one record and exit code 1 while the first runs on;
# a stopped or killed plandek leaves nothing that keeps a new one from
# starting, not even a command of its that still runs. SIGHUP checks the
# schedule at once and ends nothing; TERM and INT after the first stop are
# absorbed, and the stop ends with code 0 and the closing empty line.
# Usage: instance.sh PATH-TO-plandek [SCENARIO...]
# Prints "N passed, N failed" and exits non-zero when a scenario failed.
set -uo pipefail

readonly executable="$(realpath "$1")"
source "$(dirname "$0")/lib.sh"

everyMinute() { echo "* * * * * date +%M >> $1"; }

# Runs the executable $1 (a path from $workDir) in $workDir under the fake
# clock, as startDaemon does, and waits for it to end; its exit code goes to
# secondExit, 124 when it had not ended within 30 seconds.
runSecond() {
  local program=$1 waited=0
  (
    cd "$workDir" || exit 1
    export TZ=$zone FAKETIME_DONT_RESET=1 FAKETIME="@2026-12-13 12:00:30 x60"
    export ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=1:log_path=$workDir/sanitizer"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$workDir/sanitizer"
    export LD_PRELOAD="$faketimeLibrary"
    exec "$program" >"$workDir/second.stdout" 2>"$workDir/second.stderr"
  ) &
  local pid=$!
  while kill -0 "$pid" 2>/dev/null && ((waited < 300)); do
    sleep 0.1
    waited=$((waited + 1))
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    wait "$pid"
    secondExit=124
    return
  fi
  wait "$pid"
  secondExit=$?
}

# The number of records in log $2 that are exactly "SEVERE: $1".
recordCount() {
  tr -d '\r' <"$2" | grep -acxF -- "SEVERE: $1"
}

# Whether a process that runs in $workDir is named $1: a command still running.
commandRuns() {
  local process
  for process in /proc/[0-9]*; do
    [[ "$(readlink "$process/cwd" 2>/dev/null)" == "$workDir" && "$(cat "$process/comm" 2>/dev/null)" == "$1" ]] &&
      return 0
  done
  return 1
}

# Kills the daemon with SIGKILL and removes what libfaketime left of it.
killDaemon() {
  kill -KILL "$daemonPid"
  wait "$daemonPid" 2>/dev/null
  rm -f "/dev/shm/faketime_shm_$daemonPid" "/dev/shm/sem.faketime_sem_$daemonPid"
  daemonPid=""
}

# A second start beside a running plandek logs one record into the same log
# and exits with 1, loading and starting nothing; the first runs on.
secondStartIsRefused() {
  { echo "@reboot echo boot >> boot.txt"; everyMinute every.txt; } >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:20"
  waitForLines "$workDir/boot.txt" 1 . || return
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Starting date' || return
  local attempt
  for attempt in 1 2; do
    runSecond ./plandek
    ((secondExit == 1)) || fail "start $((attempt + 1)) ended with code $secondExit, not 1"
  done
  kill -0 "$daemonPid" 2>/dev/null || fail "the first plandek has gone"
  local starts
  starts=$(logCount '^SEVERE: Starting date')
  waitForLines "$workDir/plandek.log" $((starts + 1)) '^SEVERE: Starting date' || return
  stopDaemon
  local log=$workDir/plandek.log
  (($(recordCount "Already running in $workDir" "$log") == 2)) || fail "not two records 'Already running in $workDir'"
  (($(logCount '^SEVERE: Reloaded crons') == 1)) || fail "the schedule was loaded more than once"
  (($(logCount '^SEVERE: Starting echo boot') == 1)) || fail "@reboot started more than once"
  [[ ! -s $workDir/second.stdout && ! -s $workDir/second.stderr ]] || fail "the refused start wrote to the console"
  expectWholeLog
  endsWithClosingEmptyLine || fail "no closing empty line"
}

# Two copies of the executable in two folders, working in one folder: the
# second is refused and says so in its own log, beside it.
twoCopiesShareAWorkingDirectory() {
  mkdir "$workDir/copy"
  cp "$executable" "$workDir/copy/plandek"
  everyMinute every.txt >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:20"
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Reloaded crons' || return
  runSecond ./copy/plandek
  ((secondExit == 1)) || fail "the copy ended with code $secondExit, not 1"
  stopDaemon
  local copyLog=$workDir/copy/plandek.log
  expectWholeLog "$copyLog"
  (($(recordCount "Already running in $workDir" "$copyLog") == 1)) ||
    fail "the copy's log lacks 'Already running in $workDir'"
  (($(grep -ac 'SEVERE: ' "$copyLog") == 1)) || fail "the copy logged more than the refusal"
  (($(logCount '^SEVERE: Already running') == 0)) || fail "the refusal went into the first plandek's log"
  expectWholeLog
}

# A plandek stopped while its @reboot command still runs, then one killed
# with SIGKILL: each time a new start in the folder runs as the first did.
# The command shares the fake clock: half an hour of it is 30 real seconds.
startAfterStopOrKill() {
  printf '@reboot sleep 1800\n@reboot echo boot >> boot.txt\n' >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:20"
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Starting sleep 1800' || return
  waitForLines "$workDir/boot.txt" 1 . || return
  stopDaemon
  commandRuns sleep || fail "the @reboot sleep ended with plandek: the scenario tests nothing"
  startDaemon "2026-12-13 12:10:20"
  waitForLines "$workDir/plandek.log" 2 '^SEVERE: Starting sleep 1800' || return
  waitForLines "$workDir/boot.txt" 2 . || return
  killDaemon
  startDaemon "2026-12-13 12:20:20"
  waitForLines "$workDir/boot.txt" 3 . || return
  stopDaemon
  (($(logCount '^SEVERE: Already running') == 0)) || fail "a start after the stop or the kill was refused"
  (($(logCount '^SEVERE: Reloaded crons') == 3)) || fail "not three loads"
  expectWholeLog
  endCommandsLeft
}

# The schedule changed and SIGHUP sent in the middle of a minute: the reload
# record comes in that same minute, nothing is matched early or twice, and
# plandek runs on; a SIGHUP with the file unchanged logs nothing. The fake
# clock runs twice as fast as the wall clock, so that a busy machine has half
# a minute for it.
sighupChecksTheScheduleAtOnce() {
  everyMinute old.txt >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:05" 2
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Starting date +%M >> old.txt' || return
  { everyMinute old.txt; everyMinute new.txt; } >"$workDir/plandek.dat"
  kill -HUP "$daemonPid"
  waitForLines "$workDir/plandek.log" 2 '^SEVERE: Reloaded crons' 20 || return
  kill -HUP "$daemonPid"
  kill -HUP "$daemonPid"
  kill -0 "$daemonPid" 2>/dev/null || { fail "plandek ended on SIGHUP"; daemonPid=""; return; }
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Starting date +%M >> new.txt' 60 || return
  stopDaemon
  local reloadStamp
  logLines >/dev/null
  reloadStamp="$(LC_ALL=C awk '/^SEVERE: Reloaded crons/ { count++; if (count == 2) print stamp }
    { stamp = $1 " " $2 }' "$workDir/log.txt")"
  [[ $reloadStamp == "12-13-2026 12:00:"* ]] || fail "the reload after SIGHUP came at $reloadStamp, not in minute 12:00"
  (($(logCount '^SEVERE: Reloaded crons') == 2)) || fail "not two loads: a SIGHUP with the file unchanged reloaded it"
  [[ "$(startTimes 'date +%M >> old.txt' | head -2 | cut -c12-16 | tr '\n' ' ')" == "12:00 12:01 " ]] ||
    fail "the old entry did not start once at 12:00, then at 12:01: $(startTimes 'date +%M >> old.txt' | tr '\n' ' ')"
  [[ "$(startTimes 'date +%M >> new.txt' | head -1)" == "12-13-2026 12:01:"* ]] ||
    fail "the new entry did not first start at 12:01: $(startTimes 'date +%M >> new.txt' | tr '\n' ' ')"
  expectWholeLog
}

# Stop requests in a stream while a pass starts 500 commands and plandek
# winds down: the first stops it, the others are absorbed, the exit is 0 and
# the log ends with the closing empty line.
stopRequestsInAStreamDuringAPass() {
  local number
  for number in $(seq 1 500); do echo "* * * * * true $number"; done >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:20"
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Starting' || return
  kill -TERM "$daemonPid"
  kill -TERM "$daemonPid"
  local sent=2 signal=INT
  while kill -0 "$daemonPid" 2>/dev/null && ((sent < 400)); do
    kill "-$signal" "$daemonPid" 2>/dev/null
    [[ $signal == INT ]] && signal=TERM || signal=INT
    sent=$((sent + 1))
    sleep 0.02
  done
  collectDaemon "after $sent stop requests"
  echo "  $sent stop requests, $(logCount '^SEVERE: Starting') starts"
  endsWithClosingEmptyLine || fail "no closing empty line"
  expectWholeLog
}

scenarios=(secondStartIsRefused twoCopiesShareAWorkingDirectory startAfterStopOrKill sighupChecksTheScheduleAtOnce
  stopRequestsInAStreamDuringAPass)
runScenarios "${@:2}" -- "${scenarios[@]}"
