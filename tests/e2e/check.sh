#!/usr/bin/env bash
# plandek-check on files: what it prints and its exit status, and that it
# tells the reasons plandek itself logs.
# Usage: check.sh PATH-TO-plandek-check PATH-TO-plandek [SCENARIO...]
set -uo pipefail
readonly checker="$(realpath "$1")"
readonly executable="$(realpath "$2")"
shift 2
readonly root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$(dirname "$0")/lib.sh"

# Runs the checker in $workDir with the arguments given; its output goes to
# $workDir/out and $workDir/err, its status to $status.
status=0
check() {
  (cd "$workDir" && "$checker" "$@" >"$workDir/out" 2>"$workDir/err")
  status=$?
}

# The findings other than notes: the notes belong to the time parts.
expectFindings() {
  local expectedStatus=$1 expected=$2
  ((status == expectedStatus)) || fail "exit status $status, expected $expectedStatus"
  local actual
  actual="$(grep -v ': note: ' "$workDir/out")"
  [[ $actual == "$expected" ]] || fail "findings were:"$'\n'"$actual"$'\n'"  expected:"$'\n'"$expected"
}

theExampleChecksClean() {
  cp "$root/examples/plandek.dat" "$workDir/plandek.dat"
  chmod 644 "$workDir/plandek.dat"
  check
  expectFindings 0 ""
}

cronHabitsAreWarnings() {
  cat >"$workDir/plandek.dat" <<'DAT'
MAILTO=me@example.org
SHELL=/nowhere/sh
0 4 */8 * * backup
0/5 * * * * poll
0 0 * * * date +\%Y
17 * * * * daemon run-parts /etc/cron.hourly
0 0 13 * fri luck
0 4 */8 * * backup
SHELL=/bin/sh
@reboot echo started
DAT
  check
  expectFindings 1 "plandek.dat:1: warning: 'MAILTO' is not acted on: plandek mails nothing; the commands receive it as a variable
plandek.dat:2: warning: SHELL '/nowhere/sh' is not an executable file: the entries below it cannot start
plandek.dat:3: warning: '*/8' in the day of month counts from 0 here (8, 16, 24); cron counts from 1 (1, 9, 17, 25)
plandek.dat:4: warning: '0/5' is minute 0 alone here; every 5 from 0 is '*/5'
plandek.dat:5: warning: '\\%' in the command is passed as written here; cron passes '%'
plandek.dat:6: warning: 'daemon' is run as a command here: plandek has no user column, and every entry runs as the user running plandek
plandek.dat:7: warning: day of month '13' and day of week 'fri' both restricted: here both must hold; cron runs when either does
plandek.dat:8: warning: '*/8' in the day of month counts from 0 here (8, 16, 24); cron counts from 1 (1, 9, 17, 25)
plandek.dat:8: warning: '0 4 */8 * * backup' is the same entry as line 3: it runs twice"
}

skippedLinesAreErrors() {
  printf '0 4 * * * ok\n0 4 * *\n0 25 * * * late\n0 4 * * * * run\n0 0 */8 * * x\n' >"$workDir/other.dat"
  check other.dat
  expectFindings 2 "other.dat:2: error: skipped (too few fields)
other.dat:3: error: skipped (hour 25 is not in 0-23)
other.dat:4: error: skipped (the command starts with '*': one time field too many?)
other.dat:5: warning: '*/8' in the day of month counts from 0 here (8, 16, 24); cron counts from 1 (1, 9, 17, 25)"
}

aFileOthersCanChangeIsRefused() {
  echo '0 4 * * * run' >"$workDir/plandek.dat"
  chmod 666 "$workDir/plandek.dat"
  check
  expectFindings 2 "plandek.dat: error: refused (writable by every user): plandek would run none of its entries"
}

aMissingFileOrAFolderIsAnError() {
  check nothing.dat
  expectFindings 2 "nothing.dat: error: not found: plandek would run no entries"
  mkdir "$workDir/folder.dat"
  check folder.dat
  expectFindings 2 "folder.dat: error: not a regular file: plandek would run no entries"
  : >"$workDir/empty.dat"
  check empty.dat
  expectFindings 0 ""
}

aUtf16FileIsReadLineByLine() {
  { printf '\xff\xfe'; printf '# saved by PowerShell\r\n0/5 * * * * poll\r\n0 4 * *\r\n' | iconv -f UTF-8 -t UTF-16LE; } \
    >"$workDir/plandek.dat"
  check
  expectFindings 2 "plandek.dat:2: warning: '0/5' is minute 0 alone here; every 5 from 0 is '*/5'
plandek.dat:3: error: skipped (too few fields)"
}

argumentsItCannotTakeAreAUsageError() {
  local arguments
  for arguments in "--next x" "--from yesterday" "--now" "a.dat b.dat" "--next"; do
    # shellcheck disable=SC2086
    check $arguments
    ((status == 64)) || fail "$arguments: exit status $status, expected 64"
    [[ ! -s $workDir/out ]] || fail "$arguments: printed findings"
    grep -q '^Usage: plandek-check' "$workDir/err" || fail "$arguments: no usage on standard error"
  done
  check --help
  ((status == 0)) && grep -q '^Usage: plandek-check' "$workDir/out" || fail "--help: $status"
  check --version
  local version
  version="$(sed -n 's/^project(plandek VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
  [[ $status == 0 && "$(cat "$workDir/out")" == "plandek-check $version" ]] || fail "--version: $status $(cat "$workDir/out")"
}

# Each entry told in words, its next starts as plandek's minute rule makes
# them and the fixed times a clock change skips or repeats, in two zones.
nextStartsFollowTheZone() {
  cat >"$workDir/plandek.dat" <<'DAT'
30 2 * * * nightly-backup
*/30 2 * * * poll
0 3 * * 0 weekly
0 0 30 2 * never
@reboot started
DAT
  chmod 644 "$workDir/plandek.dat"
  TZ=Europe/Berlin check --from "2027-03-27 12:00"
  ((status == 1)) || fail "Berlin: exit status $status, expected 1"
  local expected="plandek.dat:1: note: at 02:30
plandek.dat:1: note: next: 2027-03-28 03:00, 2027-03-29 02:30, 2027-03-30 02:30
plandek.dat:1: note: 02:30 falls in the gap of 2027-03-28, when clocks go from 02:00 to 03:00: plandek starts it at 03:00
plandek.dat:1: note: 02:30 comes twice on 2027-10-31, when clocks go back from 03:00 to 02:00: plandek starts it once, the first time
plandek.dat:1: note: 02:30 falls in the gap of 2028-03-26, when clocks go from 02:00 to 03:00: plandek starts it at 03:00
plandek.dat:2: note: at 02:00 and 02:30
plandek.dat:2: note: next: 2027-03-29 02:00, 2027-03-29 02:30, 2027-03-30 02:00
plandek.dat:3: note: at 03:00, on Sunday
plandek.dat:3: note: next: 2027-03-28 03:00, 2027-04-04 03:00, 2027-04-11 03:00
plandek.dat:4: note: at 00:00 on day 30 of the month in February
plandek.dat:4: warning: '0 0 30 2 *' is never due
plandek.dat:5: note: at every start of plandek"
  [[ "$(cat "$workDir/out")" == "$expected" ]] || fail "Berlin:"$'\n'"$(cat "$workDir/out")"
  # New York repeats 01:00-01:59 in November: the fixed time once, the repeating entry both times.
  printf '30 1 * * * once\n*/30 1 * * * twice\n' >"$workDir/newyork.dat"
  chmod 644 "$workDir/newyork.dat"
  TZ=America/New_York check --from "2027-11-07 00:30" --next 4 newyork.dat
  expected="newyork.dat:1: note: next: 2027-11-07 01:30, 2027-11-08 01:30, 2027-11-09 01:30, 2027-11-10 01:30
newyork.dat:2: note: next: 2027-11-07 01:00, 2027-11-07 01:30, 2027-11-07 01:00, 2027-11-07 01:30"
  [[ "$(grep ': note: next:' "$workDir/out")" == "$expected" ]] || fail "New York:"$'\n'"$(cat "$workDir/out")"
  # A local time the spring gap skips is no time to count from.
  TZ=America/New_York check --from "2028-03-12 02:30"
  ((status == 64)) || fail "--from in the gap: exit status $status, expected 64"
  grep -q '^plandek-check: --from 2028-03-12 02:30 is no local time here: the clocks skip it$' "$workDir/err" ||
    fail "--from in the gap: $(cat "$workDir/err")"
}

# The reasons as plandek logs them and as the checker prints them, one a
# line: "3 (hour 25 is not in 0-23)", "(writable by every user)".
reasonsInLog() {
  logLines | sed -n 's/.*Skipped line \([0-9]*\) \((.*)\): .*/\1 \2/p; s/.*Refused plandek.dat \((.*)\)$/\1/p'
}
reasonsOfChecker() {
  sed -n 's/^plandek.dat:\([0-9]*\): error: skipped \((.*)\)$/\1 \2/p; s/^plandek.dat: error: refused \((.*)\): .*/\1/p' \
    "$workDir/out"
}
expectTheReasonsPlandekLogs() {
  startDaemon "2027-01-04 10:00:10"
  waitForLines "$workDir/plandek.log" 1 'Reloaded crons'
  stopDaemon
  check
  local logged told
  logged="$(reasonsInLog)"
  told="$(reasonsOfChecker)"
  [[ -n $logged && $logged == "$told" ]] || fail "plandek logged:"$'\n'"$logged"$'\n'"  the checker told:"$'\n'"$told"
}

theReasonsAreThoseOfPlandek() {
  printf '0 4 * *\n0 25 * * * late\n@often run\n0 4 * * * * run\nA B=1\n1X=2\n0 0 31 feb * run\n5 4 * * sun,funday run\n' \
    >"$workDir/plandek.dat"
  chmod 644 "$workDir/plandek.dat"
  expectTheReasonsPlandekLogs
  rm -f "$workDir/plandek.log"
  chmod 666 "$workDir/plandek.dat"
  expectTheReasonsPlandekLogs
}

runScenarios "$@" -- theReasonsAreThoseOfPlandek theExampleChecksClean cronHabitsAreWarnings skippedLinesAreErrors aFileOthersCanChangeIsRefused \
  aMissingFileOrAFolderIsAnError aUtf16FileIsReadLineByLine argumentsItCannotTakeAreAUsageError nextStartsFollowTheZone
