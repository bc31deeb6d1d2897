#!/usr/bin/env bash
# Jobs and the real plandek executable on Linux: a job cannot take the daemon
# or other jobs down, reads an empty standard input, and every start that did
# not happen has its "Could not start" record after its "Starting" record.
# Counts of records, never timing.
# Usage: jobs.sh PATH-TO-plandek [SCENARIO...]
# Prints "N passed, N failed" and exits non-zero when a scenario failed.
set -uo pipefail

readonly executable="$(realpath "$1")"
source "$(dirname "$0")/lib.sh"

# The daemon's records, without their date lines, in order.
messages() { logLines | grep -a '^SEVERE: ' | sed 's/^SEVERE: //'; }

# Waits (real seconds, up to 30) until the daemon has no child, not even one
# that ended and was not reaped.
awaitNoChildren() {
  local waited=0
  while daemonHasChildren && ((waited < 300)); do
    sleep 0.1
    waited=$((waited + 1))
  done
  ! daemonHasChildren || fail "the daemon still has children: $(cat /proc/"$daemonPid"/task/*/children)"
}

# A job that signals its whole process group reaches neither the daemon nor
# the job beside it.
killZeroReachesOnlyItsOwnJob() {
  {
    echo "@reboot sleep 30; echo done >> t.txt"
    echo "@reboot sleep 2; echo killing > k.txt; kill 0"
  } >"$workDir/plandek.dat"
  # Were the job in the daemon's group, `kill 0` would reach this script too.
  daemonPrefix=setsid
  startDaemon "2026-12-13 12:00:20"
  waitForLines "$workDir/k.txt" 1 killing || return
  waitForLines "$workDir/t.txt" 1 done 60 || return
  kill -0 "$daemonPid" 2>/dev/null || fail "plandek ended with the job that ran kill 0"
  # Both jobs have ended: nothing of them stays with the daemon.
  awaitNoChildren
  stopDaemon
  expectWholeLog
  endsWithClosingEmptyLine || fail "no closing empty line"
  expectStarts "sleep 30; echo done >> t.txt" 1
  expectStarts "sleep 2; echo killing > k.txt; kill 0" 1
}

# An interpreter that is missing, a folder or not a full path: each start says
# it did not happen, right after its Starting record; the entry after them runs.
interpreterThatCannotStart() {
  mkdir "$workDir/folder"
  {
    echo "SHELL=/nonexistent"
    echo "@reboot echo a > a.txt"
    echo "SHELL=$workDir/folder"
    echo "@reboot echo b > b.txt"
    echo "SHELL=sh"
    echo "@reboot echo c > c.txt"
    echo "SHELL=/bin/sh"
    echo "@reboot echo d > d.txt"
  } >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:20"
  waitForLines "$workDir/d.txt" 1 d || return
  stopDaemon
  local expected
  expected="$(
    cat <<END
Starting echo a > a.txt
Could not start (no interpreter /nonexistent: No such file or directory): echo a > a.txt
Starting echo b > b.txt
Could not start (no interpreter $workDir/folder: Permission denied): echo b > b.txt
Starting echo c > c.txt
Could not start (the interpreter sh is not a full path): echo c > c.txt
Starting echo d > d.txt
END
  )"
  [[ "$(messages | grep -a '^Starting \|^Could not start ')" == "$expected" ]] ||
    fail "records were: $(messages | tr '\n' '|')"
  [[ ! -e $workDir/a.txt && ! -e $workDir/b.txt && ! -e $workDir/c.txt ]] || fail "a command ran without its interpreter"
  expectWholeLog
}

# A job reads /dev/null, not the daemon's own input.
standardInputIsEmpty() {
  printf 'the daemon%ss input\n' "'" >"$workDir/input.txt"
  daemonInput=$workDir/input.txt
  echo '@reboot readlink /proc/self/fd/0 > stdin.txt; read x; echo "read $? [$x]" >> stdin.txt' >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:20"
  waitForLines "$workDir/stdin.txt" 1 '^read' || return
  stopDaemon
  [[ "$(cat "$workDir/stdin.txt")" == $'/dev/null\nread 1 []' ]] || fail "the job's input was: $(cat "$workDir/stdin.txt")"
}

# As a user with a low process limit (root has none), hundreds of starts in
# one minute: every start that got no process says so.
processLimitSaysEveryLostStart() {
  local user=64999 entries=300
  chown -R "$user" "$workDir"
  runAs=$user
  # Due in the first minute alone, so that the counts are final once it is over.
  for _ in $(seq 1 "$entries"); do echo "0 12 * * * echo x >> ran.txt; sleep 1000"; done >"$workDir/plandek.dat"
  # The first pass, at once, is in minute 12:00: five real seconds to spare.
  daemonPrefix="prlimit --nproc=100:100"
  startDaemon "2026-12-13 12:00:05" 10
  waitForLines "$workDir/plandek.log" "$entries" '^SEVERE: Starting echo x'
  local starts lost ran waited=0
  starts=$(logCount '^SEVERE: Starting echo x')
  # A lost start's record follows its Starting record; the jobs that started
  # write their line when they get to run.
  while lost=$(logCount '^SEVERE: Could not start (no new process: Resource temporarily unavailable): echo x') &&
    ran=$(lineCount "$workDir/ran.txt") && ((ran + lost < starts && waited < 600)); do
    sleep 0.1
    waited=$((waited + 1))
  done
  # Every job gone before the stop: the leak check of a sanitized build needs a
  # thread at the exit, which the process limit would refuse; and the user's
  # processes would count against the limit of the next run.
  endCommandsLeft
  waited=0
  while (($(pgrep -c -u "$user") > 1 && waited < 600)); do
    sleep 0.1
    waited=$((waited + 1))
  done
  stopDaemon
  echo "  $starts starts, $ran ran, $lost said not to start"
  ((lost > 0)) || fail "the limit lost no start"
  ((ran + lost == starts)) || fail "$starts starts, but $ran ran and $lost were said not to start"
  (($(logCount '^SEVERE: Could not start') == lost)) || fail "other Could not start records"
  expectWholeLog
}

scenarios=(killZeroReachesOnlyItsOwnJob interpreterThatCannotStart standardInputIsEmpty processLimitSaysEveryLostStart)
runScenarios "${@:2}" -- "${scenarios[@]}"
