#!/usr/bin/env bash
# plandek-check.exe under wine: a UTF-16 file as PowerShell saves it, a line
# in the ANSI code page (1252 here) printed back as UTF-8, a file name outside
# that code page, the notes, SHELL told to play
# no part, and the exit statuses.
# Usage: wine-check.sh PATH-TO-plandek-check.exe
set -uo pipefail

source "$(dirname "$0")/wine-lib.sh" "$1" plandek-check.exe

status=0
# Runs the checker on the arguments; output to files, never pipes: wine's
# helper processes would hold a pipe open.
runCheck() {
  (cd "$workDir" && wine ./plandek-check.exe "$@" >"$workDir/out" 2>"$workDir/err")
}
expectRun() {
  local expectedStatus=$1 expected=$2
  shift 2
  runCheck "$@"
  local actualStatus=$?
  local actual
  actual="$(grep -av ': note: ' "$workDir/out" | tr -d '\r')"
  if ((actualStatus != expectedStatus)) || [[ $actual != "$expected" ]]; then
    echo "FAILED: plandek-check.exe $*: exit status $actualStatus (expected $expectedStatus), printed:"
    echo "$actual"
    echo "expected:"
    echo "$expected"
    status=1
  fi
}

{
  printf '\xff\xfe'
  printf 'SHELL=C:\\windows\\system32\\cmd.exe\r\n0/5 * * * * echo poll\r\n0 4 * *\r\n' | iconv -f UTF-8 -t UTF-16LE
} >"$workDir/utf16.dat"
expectRun 2 "utf16.dat:1: warning: 'SHELL' chooses no interpreter on this system: cmd.exe runs every command
utf16.dat:2: warning: '0/5' is minute 0 alone here; every 5 from 0 is '*/5'
utf16.dat:3: error: skipped (too few fields)" utf16.dat

# The same entry in UTF-8 and in the ANSI code page: the same entry twice.
printf '0 0 * * * echo caf\xc3\xa9\r\n0 0 * * * echo caf\xe9\r\n' >"$workDir/ansi.dat"
expectRun 1 "ansi.dat:2: warning: '0 0 * * * echo café' is the same entry as line 1: it runs twice" ansi.dat

printf '# nothing to say\r\n@daily echo daily\r\n' >"$workDir/plandek.dat"
expectRun 0 "" 
expectRun 2 "missing.dat: error: not found: plandek would run no entries" missing.dat
expectRun 64 "" --next x
grep -aq '^Usage: plandek-check' "$workDir/err" || { echo "FAILED: no usage on standard error"; status=1; }

# A file name outside the ANSI code page reaches the program whole.
printf '0/5 * * * * echo poll\r\n' >"$workDir/план.dat"
expectRun 1 "план.dat:1: warning: '0/5' is minute 0 alone here; every 5 from 0 is '*/5'" план.dat

# The notes: the entry in words and its next starts, from a January day no
# clock change is near in any zone wine may take from the host.
printf '30 2 * * 1-5 echo nightly\r\n' >"$workDir/notes.dat"
runCheck --from "2027-01-04 10:00" --next 2 notes.dat
notes="$(tr -d '\r' <"$workDir/out")"
[[ $notes == "notes.dat:1: note: at 02:30, Monday to Friday
notes.dat:1: note: next: 2027-01-05 02:30, 2027-01-06 02:30" ]] || { echo "FAILED: the notes were: $notes"; status=1; }

if ((status != 0)); then
  echo "0 passed, 1 failed"
else
  echo "1 passed, 0 failed"
fi
exit "$status"
