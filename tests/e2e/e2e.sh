#!/usr/bin/env bash
# End-to-end tests of the real plandek executable on Linux. Each scenario runs
# a copy of the executable in a fresh folder under libfaketime, 60 times as
# fast as the wall clock, and checks plandek.log byte for byte and what the
# commands themselves left behind.
# Usage: e2e.sh PATH-TO-plandek
# Prints "N passed, N failed" and exits non-zero when a scenario failed.
set -uo pipefail

readonly executable="$(realpath "$1")"
readonly faketimeLibrary=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
readonly CRLF=$'\r\n'
passed=0
failed=0
workDir=""
daemonPid=""

fail() {
  echo "  FAILED: $*"
  scenarioFailed=1
}

# Starts the daemon in $workDir with the fake clock starting at $1.
startDaemon() {
  (
    cd "$workDir" || exit 1
    export TZ=UTC LD_PRELOAD="$faketimeLibrary" FAKETIME="@$1 x60" FAKETIME_DONT_RESET=1
    export ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=1:log_path=$workDir/sanitizer"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$workDir/sanitizer"
    exec ./plandek >"$workDir/stdout" 2>"$workDir/stderr"
  ) &
  daemonPid=$!
}

# Stops the daemon with SIGTERM; it must end within one second with code 0.
stopDaemon() {
  kill -TERM "$daemonPid" 2>/dev/null
  local waited=0
  while kill -0 "$daemonPid" 2>/dev/null && ((waited < 20)); do
    sleep 0.1
    waited=$((waited + 1))
  done
  if kill -0 "$daemonPid" 2>/dev/null; then
    fail "still running 2 s after SIGTERM"
    kill -KILL "$daemonPid"
  fi
  wait "$daemonPid"
  local code=$?
  ((code == 0)) || fail "exit code $code after SIGTERM"
  daemonPid=""
}

# Waits (real seconds) until file $1 holds at least $2 lines matching $3.
waitForLines() {
  local file=$1 count=$2 pattern=$3 waited=0
  while ((waited < 300)); do
    if [[ -f $file ]] && (($(grep -c -- "$pattern" "$file" 2>/dev/null) >= count)); then return 0; fi
    sleep 0.1
    waited=$((waited + 1))
  done
  fail "timed out waiting for $count lines of '$pattern' in $(basename "$file")"
  return 1
}

# The log without its CRs, whole: a reader that stops early must not break a pipe.
logLines() {
  tr -d '\r' <"$workDir/plandek.log" >"$workDir/log.txt"
  cat "$workDir/log.txt"
}
logHas() { logLines >/dev/null; grep -aq -- "$1" "$workDir/log.txt"; }
logCount() { logLines >/dev/null; grep -ac -- "$1" "$workDir/log.txt"; }

endsWithClosingEmptyLine() {
  [[ "$(tail -c 4 "$workDir/plandek.log" | od -An -c | tr -d ' ')" == '\r\n\r\n' ]]
}

expectNoSanitizerReport() {
  if compgen -G "$workDir/sanitizer*" >/dev/null; then
    fail "sanitizer report:"
    cat "$workDir"/sanitizer* | head -40
  fi
}

runScenario() {
  local name=$1
  workDir="$(mktemp -d)"
  cp "$executable" "$workDir/plandek"
  scenarioFailed=0
  echo "== $name"
  "$name"
  [[ -n $daemonPid ]] && stopDaemon
  expectNoSanitizerReport
  if ((scenarioFailed)); then
    failed=$((failed + 1))
    echo "  log was:"
    cut -c1-160 "$workDir/plandek.log" 2>/dev/null | cat -A | head -40 | sed 's/^/    /'
  else
    passed=$((passed + 1))
    rm -rf "$workDir"
  fi
}

# Start-up entries run once; an every-minute entry runs at once (second 37),
# then right after second 00 of each following minute.
startUpAndEveryMinute() {
  printf '@reboot echo boot >> boot.txt\n* * * * * echo tick >> ticks.txt\n' >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:37"
  waitForLines "$workDir/ticks.txt" 4 tick || return
  stopDaemon
  local log
  log="$(cat "$workDir/plandek.log")"
  [[ $log == "${CRLF}12-13-2026 12:00:3"?" plandek${CRLF}SEVERE: Reloaded crons -> [@reboot=echo boot >> boot.txt, * * * * *=echo tick >> ticks.txt]${CRLF}"* ]] ||
    fail "log does not begin with an empty line and the reload record"
  endsWithClosingEmptyLine || fail "log does not end with the closing empty line"
  (($(grep -c boot "$workDir/boot.txt") == 1)) || fail "@reboot did not run exactly once"
  logHas '^12-13-2026 12:01:00 plandek$' || fail "no pass right after 12:01:00"
  logHas '^12-13-2026 12:02:00 plandek$' || fail "no pass right after 12:02:00"
  (($(logCount '^SEVERE: Starting echo tick >> ticks.txt$') == $(grep -c tick "$workDir/ticks.txt"))) ||
    fail "started records and runs differ"
  # Every record is two whole lines.
  logLines >/dev/null
  awk 'NR > 1 && NF' "$workDir/log.txt" | paste - - | grep -avE '^[0-9]{2}-[0-9]{2}-[0-9]{4} [0-9:]{8} plandek	SEVERE: ' >/dev/null &&
    fail "a record is not whole"
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
  logHas '^SEVERE: Skipped line 1: x \* \* \* \* echo typo >> ran.txt$' || fail "line 1 not reported"
  logHas '^SEVERE: Skipped line 3: 75 ' || fail "line 3 not reported"
  logHas '^SEVERE: Skipped line 4: ' || fail "line 4 not reported"
  logHas '^SEVERE: Starting echo "quoted  blanks" >> ok.txt$' || fail "command not kept as written"
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
  local lines
  logLines >/dev/null
  lines="$(awk 'NF' "$workDir/log.txt" | wc -l)"
  ((lines % 2 == 0)) || fail "odd number of record lines: $lines"
}

# A stop while commands still run ends the daemon at once, log closed.
stopWhileCommandsRun() {
  printf '@reboot sleep 30\n* * * * * sleep 30\n' >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/plandek.log" 2 '^SEVERE: Starting sleep 30' || return
  stopDaemon
  endsWithClosingEmptyLine || fail "no closing empty line"
  pkill -f 'sleep 30' 2>/dev/null || true
}

runScenario startUpAndEveryMinute
runScenario reloadsOnlyOnChange
runScenario badLinesAreSkipped
runScenario manyCommandsInOneMinute
runScenario stopWhileCommandsRun

echo "$passed passed, $failed failed"
((failed == 0))
