#!/usr/bin/env bash
# Faults the real plandek executable must survive on Linux: a schedule file
# rewritten while read, replaced by a folder, unreadable or huge; a log that
# cannot be opened or is removed; commands that are missing, fail, run long or
# come by the hundred; stops in the middle of all that. After each: exit code 0
# on SIGTERM, no sanitizer report, every record whole, and every command
# started only at minutes its schedule names, as its "Starting" record says.
# Nothing here asserts on how fast the machine is: a command may run seconds
# after its start on a busy machine, so minutes are read from the records,
# never from what the commands write.
# Usage: faults.sh PATH-TO-plandek
# Prints "N passed, N failed" and exits non-zero when a scenario failed.
set -uo pipefail

readonly executable="$(realpath "$1")"
source "$(dirname "$0")/lib.sh"

# Commands that write the fake minute they run at into a file.
evenMinutes() { echo "*/2 * * * * date +%M >> $1"; }
oddMinutes() { echo "1-59/2 * * * * date +%M >> $1"; }
everyMinute() { echo "* * * * * date +%M >> $1"; }

# Bytes the daemon has read so far.
bytesRead() { awk '/^rchar/ { print $2 }' "/proc/$daemonPid/io"; }

# As root, the daemon runs as nobody, whom file modes do bind.
runAsSomeoneModesBind() {
  if ((EUID == 0)); then
    runAs=nobody
    chown -R nobody "$workDir"
  fi
}

# Schedules of 200 entries each: the even or odd one, then 199 that never
# come due, so that a file loaded half-written shows in the reload record.
wholeSchedule() {
  "$1" "$2"
  for line in $(seq 1 199); do echo "0 0 1 1 * true entry $line"; done
}

# Bytes read so far by each thread of the daemon, "thread bytes" a line. Not
# the process's count, which takes in the reads of every command it has
# waited for.
readsByThread() { awk '/^rchar/ { split(FILENAME, path, "/"); print path[5], $2 }' "/proc/$daemonPid/task/"*/io 2>/dev/null; }

# Whether a thread of the daemon has read $2 bytes more than readsByThread's $1.
threadHasRead() {
  awk -v need="$2" 'NR == FNR { before[$1] = $2; next } ($1 in before) && $2 - before[$1] >= need { found = 1 }
    END { exit !found }' <(printf '%s\n' "$1") <(readsByThread)
}

# Rewrites plandek.dat with schedule file $1 as an editor or a script that
# writes in pieces would: truncated, the first 100 lines in one write, then a
# comment line every few milliseconds until a thread of the daemon has read
# the file half-written, then the rest in four writes. The comment lines come
# from a loop of the shell's builtins alone, which starts no process; each
# piece is ready before the file is opened: the writer never stops for longer
# than a few milliseconds, far less than the daemon's pause.
rewriteInPieces() {
  local source=$1 before first pieces=() piece
  first="$(head -n 100 "$source")"
  for piece in 101,125p 126,150p 151,175p 176,200p; do pieces+=("$(sed -n "$piece" "$source")"); done
  [[ -p $workDir/never ]] || mkfifo "$workDir/never"
  before="$(readsByThread)"
  exec 3>"$workDir/plandek.dat"
  printf '%s\n' "$first" >&3
  (
    exec 4<>"$workDir/never"
    while :; do
      printf '# still writing\n' >&3
      read -rt 0.005 -u 4
    done
  ) &
  local commenter=$! waited=0
  while ! threadHasRead "$before" "${#first}" && ((waited < 3000)); do
    sleep 0.01
    waited=$((waited + 1))
  done
  kill "$commenter"
  wait "$commenter" 2>/dev/null
  for piece in "${pieces[@]}"; do printf '%s\n' "$piece" >&3; done
  exec 3>&-
  echo "  $(grep -c '^# still writing' "$workDir/plandek.dat") comment lines written before the daemon had read the file half-written"
}

# A file rewritten in pieces while the daemon reads it loads only whole: every
# reload record holds all 200 entries, and nothing starts off the schedule
# that was loaded last. Four times as fast as the wall clock, so that the
# daemon's pause between two reads of a changed file (a second) is a quarter
# of a second here: far longer than the writer's gaps on a busy machine.
scheduleRewrittenWhileRead() {
  wholeSchedule evenMinutes even.txt >"$workDir/source-even.dat"
  wholeSchedule oddMinutes odd.txt >"$workDir/source-odd.dat"
  cp "$workDir/source-even.dat" "$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:20" 4
  waitForLines "$workDir/plandek.log" 1 'Reloaded crons' || return
  rewriteInPieces "$workDir/source-odd.dat"
  waitForLines "$workDir/plandek.log" 1 'Reloaded crons -> \[1-59/2 ' 60 || return
  rewriteInPieces "$workDir/source-even.dat"
  waitForLines "$workDir/plandek.log" 2 'Reloaded crons -> \[\*/2 ' 60 || return
  stopDaemon
  (($(logCount '^SEVERE: Reloaded') == 3)) || fail "not one reload for each whole file"
  local partial
  partial="$(LC_ALL=C awk '
    /^SEVERE: Reloaded crons -> / && (gsub(/=true entry /, "&") != 199 || $0 !~ /=true entry 199]$/) {
      print substr($0, 1, 60) "... with " gsub(/=true entry /, "&") " entries"
    }' "$workDir/log.txt")"
  [[ -z $partial ]] || fail "loaded half-written: $partial"
  logHas '^SEVERE: Skipped' && fail "a line cut short was skipped"
  # Judge each start by the schedule of the reload before it.
  local offSchedule
  offSchedule="$(LC_ALL=C awk '
    /^SEVERE: Reloaded crons -> \[\*\/2 / { parity = 0; next }
    /^SEVERE: Reloaded crons -> \[1-59\/2 / { parity = 1; next }
    /^SEVERE: Reloaded/ { parity = -1; next }
    /^SEVERE: Starting / { m = substr(stamp, 15, 2) + 0; if (m % 2 != parity) print stamp ": " $0 }
    { stamp = $1 " " $2 }' "$workDir/log.txt")"
  [[ -z $offSchedule ]] || fail "started off the loaded schedule: $(head -c 300 <<<"$offSchedule")"
  expectWholeLog
}

# A folder, then an unreadable file, in place of the schedule: the list
# empties, nothing starts, and the file loads again when it is back. The
# folder is a file without lines; the unreadable file is refused, once, with
# the system's reason. As root, the daemon runs as nobody: root reads any file.
scheduleReplacedOrUnreadable() {
  runAsSomeoneModesBind
  everyMinute every.txt >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/every.txt" 2 . || return
  mv "$workDir/plandek.dat" "$workDir/saved.dat"
  mkdir "$workDir/plandek.dat"
  waitForLines "$workDir/plandek.log" 1 'Reloaded crons -> \[\]' || return
  sleep 2.5
  # Unreadable before it is back: no pass may see it readable in between.
  chmod 000 "$workDir/saved.dat"
  rmdir "$workDir/plandek.dat"
  mv "$workDir/saved.dat" "$workDir/plandek.dat"
  sleep 2.5
  chmod 644 "$workDir/plandek.dat"
  waitForLines "$workDir/plandek.log" 2 'Reloaded crons -> \[\* \* \* \* \*=' || return
  waitForLines "$workDir/plandek.log" 1 'Starting date +%M >> every.txt' || return
  stopDaemon
  logLines >/dev/null
  local reloads
  reloads="$(grep -a '^SEVERE: Reloaded' "$workDir/log.txt")"
  [[ $reloads == "SEVERE: Reloaded crons -> [* * * * *=date +%M >> every.txt]
SEVERE: Reloaded crons -> []
SEVERE: Reloaded crons -> []
SEVERE: Reloaded crons -> [* * * * *=date +%M >> every.txt]" ]] || fail "an unreadable file is not an empty list of its own; reloads were: $reloads"
  (($(logCount '^SEVERE: Refused') == 1)) || fail "not one refusal"
  grep -aA2 '^SEVERE: Refused plandek.dat (not readable: Permission denied)$' "$workDir/log.txt" | tail -1 |
    grep -aqx 'SEVERE: Reloaded crons -> \[\]' || fail "no refusal for the unreadable file before its empty list"
  # A command started in the minute before the folder came may report after
  # the empty list's record, but not in a later minute.
  local startsWithoutSchedule
  startsWithoutSchedule="$(LC_ALL=C awk '
    /^SEVERE: Reloaded crons -> \[\]/ { empty = 1; emptyMinute = minute; next }
    /^SEVERE: Reloaded/ { empty = 0; next }
    /^SEVERE: Starting / && empty && minute != emptyMinute { print stamp }
    { stamp = $1 " " $2; minute = substr($2, 1, 5) }' "$workDir/log.txt")"
  [[ -z $startsWithoutSchedule ]] || fail "commands started without a schedule at $startsWithoutSchedule"
  expectWholeLog
}

# A 50 MB schedule loads, runs its entry, and a stop while the daemon digests
# and reloads it a second time still ends the daemon at once.
scheduleOf50Megabytes() {
  {
    evenMinutes even.txt
    head -c 50000000 /dev/zero | tr '\0' '#' | fold -w 99
  } >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:01:40" 10
  waitForLines "$workDir/plandek.log" 1 'Starting date +%M >> even.txt' 60 || return
  sed -i '1s/even.txt/even-2.txt/' "$workDir/plandek.dat"
  waitForLines "$workDir/plandek.log" 1 'Starting date +%M >> even-2.txt' 60 || return
  local before
  before=$(bytesRead)
  sed -i '1s/even-2.txt/even-3.txt/' "$workDir/plandek.dat"
  # The next pass reads the file once, then digests and parses what it read:
  # stop once the read is through.
  local waited=0
  while (($(bytesRead) - before < 50000000)) && ((waited < 200)); do
    sleep 0.05
    waited=$((waited + 1))
  done
  logHas 'even-3.txt\]' && fail "the reload was over before the stop"
  stopDaemon
  logHas 'Starting date +%M >> even-3.txt' && fail "a command started after the stop"
  # No minute check: on a busy machine a pass that reads 50 MB may end in the
  # next minute and start its minute's entries there, as a late pass does.
  expectWholeLog
  endsWithClosingEmptyLine || fail "no closing empty line"
}

# No log file can be opened: the console says so once and the daemon goes on
# starting commands. Without a log nothing tells reliably when they started
# (a command's own clock is not the daemon's on a busy machine): they must
# only run, again and again.
logCannotBeOpened() {
  mkdir "$workDir/plandek.log"
  evenMinutes even.txt >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/even.txt" 2 . || return
  stopDaemon
  printf 'tqErrorManager: 4: Open error\r\nOpen error\r\n\r\n' | cmp -s - "$workDir/stdout" ||
    fail "console was not one open error"
}

# The same in a folder the daemon may not write to.
logFolderReadOnly() {
  runAsSomeoneModesBind
  mkdir "$workDir/out"
  [[ -n $runAs ]] && chown nobody "$workDir/out"
  evenMinutes out/even.txt >"$workDir/plandek.dat"
  chmod 555 "$workDir"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/out/even.txt" 2 . || { chmod 755 "$workDir"; cat "$workDir/stderr"; return; }
  stopDaemon
  chmod 755 "$workDir"
  [[ ! -e $workDir/plandek.log ]] || fail "a log was written"
  grep -aq '^tqErrorManager: 4: Open error' "$workDir/stdout" || fail "no open error on the console"
}

# The log removed while the daemon runs is created again, beginning with an
# empty line, and the records go on into it.
logRemovedWhileRunning() {
  everyMinute every.txt >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/plandek.log" 2 '^SEVERE: Starting' || return
  mv "$workDir/plandek.log" "$workDir/first.log"
  rm "$workDir/first.log"
  waitForLines "$workDir/plandek.log" 2 '^SEVERE: Starting' || return
  stopDaemon
  [[ "$(head -c 2 "$workDir/plandek.log" | od -An -c | tr -d ' ')" == '\r\n' ]] || fail "the new log does not begin with an empty line"
  endsWithClosingEmptyLine || fail "the new log does not end with the closing empty line"
  expectWholeLog
}

# Missing and failing commands, and one that runs over a minute, hold up
# nothing: the next minutes run everything again.
oddCommands() {
  {
    echo "* * * * * no-such-command-anywhere"
    echo "* * * * * exit 3"
    echo "* * * * * date +%M >> long.txt; sleep 1.5; date +%M >> long-done.txt"
    oddMinutes odd.txt
  } >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  # Each minute starts everything again, whatever ran before.
  waitForLines "$workDir/plandek.log" 3 '^SEVERE: Starting no-such-command-anywhere' || return
  waitForLines "$workDir/plandek.log" 3 '^SEVERE: Starting exit 3' || return
  waitForLines "$workDir/plandek.log" 2 '^SEVERE: Starting date +%M >> odd.txt' || return
  waitForLines "$workDir/long-done.txt" 2 . || return
  waitForLines "$workDir/stderr" 1 'no-such-command-anywhere' || return
  stopDaemon
  expectStartMinutes 'm % 2 == 1' 'date +%M >> odd.txt'
  expectWholeLog
  endCommandsLeft
}

# Five hundred commands due in the same minute: five hundred whole records,
# each in the even minute. The fake clock runs twice as fast as the wall clock:
# on a busy machine the last of the five hundred may start seconds after the
# first.
fiveHundredInOneMinute() {
  local number
  for number in $(seq 1 500); do evenMinutes "job-$number.txt"; done >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:01:58" 2
  waitForLines "$workDir/plandek.log" 500 '^SEVERE: Starting' 60 || return
  local waited=0
  while (($(compgen -G "$workDir/job-*.txt" | wc -l) < 500)) && ((waited < 300)); do
    sleep 0.1
    waited=$((waited + 1))
  done
  stopDaemon
  logLines >/dev/null
  for number in $(seq 1 500); do
    grep -aqx "SEVERE: Starting date +%M >> job-$number.txt" "$workDir/log.txt" || fail "no record for $number"
  done
  expectStartMinutes 'm % 2 == 0' 'date +%M >> job-'
  expectWholeLog
}

# A stop in the middle of a pass that starts hundreds of commands, and one
# while hundreds of them still run.
stopDuringAPass() {
  local number
  for number in $(seq 1 400); do echo "* * * * * sleep 30; date +%M >> done-$number.txt"; done >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Starting' || return
  stopDaemon
  expectWholeLog
  endsWithClosingEmptyLine || fail "no closing empty line"
  endCommandsLeft
}

stopWhileHundredsRun() {
  local number
  for number in $(seq 1 300); do echo "@reboot sleep 30"; done >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/plandek.log" 300 '^SEVERE: Starting sleep 30' || return
  stopDaemon
  expectWholeLog
  endsWithClosingEmptyLine || fail "no closing empty line"
  endCommandsLeft
}

# A schedule that other users can change (writable by every user; as root,
# also owned by another user) is refused: one record, then the empty list,
# nothing more while it stays so, and the file loads at the next pass once it
# is safe again. A group-writable file is safe.
scheduleOthersCanChange() {
  everyMinute every.txt >"$workDir/plandek.dat"
  chmod 666 "$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/plandek.log" 1 'Reloaded crons -> \[\]' || return
  sleep 3
  (($(logCount '^SEVERE: Refused plandek.dat (writable by every user)') == 1)) ||
    fail "not one refusal for a file writable by every user"
  logLines | grep -aA2 '^SEVERE: Refused plandek.dat' | tail -1 | grep -aq '^SEVERE: Reloaded crons -> \[\]' ||
    fail "the refusal is not followed by the empty list"
  [[ ! -e $workDir/every.txt ]] || fail "a refused schedule ran"
  chmod 664 "$workDir/plandek.dat"
  waitForLines "$workDir/plandek.log" 1 'Reloaded crons -> \[\* \* \* \* \*=' || return
  waitForLines "$workDir/every.txt" 1 . || return
  if ((EUID == 0)); then
    chown nobody "$workDir/plandek.dat"
    waitForLines "$workDir/plandek.log" 1 "^SEVERE: Refused plandek.dat (owned by user $(id -u nobody))" || return
    waitForLines "$workDir/plandek.log" 2 'Reloaded crons -> \[\]' || return
    chown root "$workDir/plandek.dat"
    waitForLines "$workDir/plandek.log" 2 'Reloaded crons -> \[\* \* \* \* \*=' || return
  else
    echo "  (not root: the case of another owner is left out)"
  fi
  stopDaemon
  (($(logCount '^SEVERE: Refused') == 1 + (EUID == 0))) || fail "refusals were repeated"
  expectWholeLog
}

# A named pipe, then a link to an endless device, in place of the schedule:
# each reads at once as an empty schedule, the passes go on, the file loads
# again when it is back, and the daemon stops on request.
scheduleIsAPipeOrDevice() {
  everyMinute every.txt >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/every.txt" 1 . || return
  mv "$workDir/plandek.dat" "$workDir/saved.dat"
  mkfifo "$workDir/plandek.dat"
  waitForLines "$workDir/plandek.log" 1 'Reloaded crons -> \[\]' || return
  sleep 2
  rm "$workDir/plandek.dat"
  ln -s /dev/zero "$workDir/plandek.dat"
  sleep 2
  rm "$workDir/plandek.dat"
  mv "$workDir/saved.dat" "$workDir/plandek.dat"
  waitForLines "$workDir/plandek.log" 2 'Reloaded crons -> \[\* \* \* \* \*=' || return
  local runs
  runs=$(lineCount "$workDir/every.txt")
  waitForLines "$workDir/every.txt" $((runs + 1)) . || return
  stopDaemon
  (($(logCount '^SEVERE: Reloaded crons -> \[\]') == 1)) || fail "not one empty list for the pipe and the device"
  expectWholeLog
}

# A line holding a zero byte is skipped whole, the byte shown as \0: cut
# there, it would lose its redirection and write to the daemon's output.
zeroByteInALine() {
  printf '* * * * * echo before\0after >> cut.txt\n* * * * * echo whole >> whole.txt\n' >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:50"
  waitForLines "$workDir/whole.txt" 2 whole || return
  stopDaemon
  logHas '^SEVERE: Skipped line 1 (a zero byte in the line): \* \* \* \* \* echo before\\0after >> cut.txt$' ||
    fail "the line with a zero byte was not skipped whole"
  [[ ! -e $workDir/cut.txt ]] && ! grep -aq before "$workDir/stdout" || fail "the line cut at its zero byte ran"
  expectWholeLog
}

scenarios=(scheduleRewrittenWhileRead scheduleReplacedOrUnreadable zeroByteInALine scheduleOf50Megabytes logCannotBeOpened
  logFolderReadOnly logRemovedWhileRunning oddCommands fiveHundredInOneMinute stopDuringAPass stopWhileHundredsRun
  scheduleOthersCanChange scheduleIsAPipeOrDevice)
runScenarios "${@:2}" -- "${scenarios[@]}"
