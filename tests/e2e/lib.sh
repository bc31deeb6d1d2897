# Helpers for the end-to-end scripts, sourced by them. Each scenario runs a
# copy of the executable in a fresh folder under libfaketime, by default 60
# times as fast as the wall clock.
# The sourcing script sets `executable` and calls runScenario NAME for each
# scenario, a shell function that uses $workDir.

readonly faketimeLibrary=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
readonly CRLF=$'\r\n'
passed=0
failed=0
workDir=""
daemonPid=""
scenarioFailed=0
# Set to a user name to run the daemon as that user (needs root).
runAs=""
# The daemon's time zone.
zone=UTC
# Words that start the daemon, e.g. "setsid" for a session of its own or
# "prlimit --nproc=N:N" for a process limit (set before the change of user).
daemonPrefix=""
# Set to a file the daemon reads as its standard input (default /dev/null).
daemonInput=/dev/null
# Set to a file name to let the scenario set the fake clock while the daemon
# runs (setFakeClock). Kept to scenarios in zones without summer time: with it,
# a busy process in such a zone was once seen to have its clock restarted.
clockFile=""

fail() {
  echo "  FAILED: $*"
  scenarioFailed=1
}

# Starts the daemon in $workDir with the fake clock starting at local time $1
# in $zone, running ${2:-60} times as fast as the wall clock.
startDaemon() {
  startDaemonWithClock "@$1 x${2:-60}"
}

# The libfaketime clock that starts at UTC time $1 and runs ${2:-60} times as
# fast as the wall clock. Unlike a local start time, it can name an instant
# inside an hour that happens twice.
clockFromUtc() {
  echo "+$(($(date -ud "$1" +%s) - $(date +%s))) x${2:-60}"
}

# Starts the daemon in $workDir with the libfaketime clock $1 ("@local-time xN"
# or "+seconds xN").
startDaemonWithClock() {
  local clock=$1
  # A static executable would run on the real clock, and the scenario time out.
  LC_ALL=C readelf -l "$workDir/plandek" 2>/dev/null | grep -q 'program interpreter' ||
    fail "libfaketime cannot reach a statically linked executable: run its dynamically linked twin"
  (
    cd "$workDir" || exit 1
    export TZ=$zone FAKETIME_DONT_RESET=1
    if [[ -n $clockFile ]]; then
      printf '%s\n' "$clock" >"$clockFile"
      export FAKETIME_TIMESTAMP_FILE=$clockFile FAKETIME_NO_CACHE=1
    else
      export FAKETIME=$clock
    fi
    export ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=1:log_path=$workDir/sanitizer"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$workDir/sanitizer"
    if [[ -n $runAs ]]; then
      # The fake clock's shared memory must be the new user's: preloaded past setpriv.
      exec $daemonPrefix setpriv --reuid="$runAs" --regid=nogroup --clear-groups \
        env LD_PRELOAD="$faketimeLibrary" ./plandek <"$daemonInput" >"$workDir/stdout" 2>"$workDir/stderr"
    fi
    export LD_PRELOAD="$faketimeLibrary"
    exec $daemonPrefix ./plandek <"$daemonInput" >"$workDir/stdout" 2>"$workDir/stderr"
  ) &
  daemonPid=$!
}

# Starts the daemon in $workDir on the real clock, in $zone: the way to run a
# statically linked executable, which libfaketime's LD_PRELOAD cannot reach.
startDaemonOnWallClock() {
  (
    cd "$workDir" || exit 1
    export TZ=$zone
    exec $daemonPrefix ./plandek <"$daemonInput" >"$workDir/stdout" 2>"$workDir/stderr"
  ) &
  daemonPid=$!
}

# Sets the running daemon's clock to $1 ("+seconds xN" from the wall clock);
# it moves at the daemon's next reading of the clock.
setFakeClock() {
  printf '%s\n' "$1" >"$clockFile.new" && mv "$clockFile.new" "$clockFile"
}

# Stops the daemon with SIGTERM; it must end within ${1:-10} seconds with code
# 0. The limit only tells a stop that waits for the commands (they run longer)
# from one that does not: a busy machine may take seconds to end a process.
stopDaemon() {
  local limit=$((${1:-10} * 10)) waited=0
  kill -TERM "$daemonPid" 2>/dev/null
  while kill -0 "$daemonPid" 2>/dev/null && ((waited < limit)); do
    sleep 0.1
    waited=$((waited + 1))
  done
  collectDaemon "$((limit / 10)) s after SIGTERM"
}

# Collects the daemon asked to stop: one still running $1 ("10 s after
# SIGTERM") is a failure and is killed; its exit code must be 0.
collectDaemon() {
  if kill -0 "$daemonPid" 2>/dev/null; then
    fail "still running $1"
    kill -KILL "$daemonPid"
  fi
  wait "$daemonPid"
  local code=$?
  daemonPid=""
  ((code == 0)) || fail "exit code $code $1"
}

# Waits (real seconds, up to ${4:-30}) until file $1 holds at least $2 lines
# matching $3.
waitForLines() {
  local file=$1 count=$2 pattern=$3 limit=$((${4:-30} * 10)) waited=0
  while ((waited < limit)); do
    if [[ -f $file ]] && (($(grep -ac -- "$pattern" "$file" 2>/dev/null) >= count)); then return 0; fi
    sleep 0.1
    waited=$((waited + 1))
  done
  fail "timed out waiting for $count lines of '$pattern' in $(basename "$file")"
  return 1
}

lineCount() { if [[ -f $1 ]]; then wc -l <"$1"; else echo 0; fi; }

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

# Every line of log $1 (default plandek.log) ends in CR LF, and every record
# is whole: "MM-DD-YYYY HH:MM:SS plandek", then "SEVERE: " and its message.
# Empty lines stand only between records.
expectWholeLog() {
  local log=${1:-$workDir/plandek.log} problem
  [[ -s $log ]] || { fail "$(basename "$log") is missing or empty"; return; }
  [[ "$(tail -c 1 "$log" | od -An -c | tr -d ' ')" == '\n' ]] || fail "$(basename "$log") does not end with a line end"
  problem="$(LC_ALL=C awk '
    {
      if (substr($0, length($0), 1) != "\r") { print "line " NR " does not end in CR LF"; exit 1 }
      line = substr($0, 1, length($0) - 1)
      if (!inRecord) {
        if (line == "") next
        if (line !~ /^[01][0-9]-[0-3][0-9]-[0-9][0-9][0-9][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9] plandek$/) {
          print "line " NR " begins no record: " substr(line, 1, 120); exit 1
        }
        inRecord = 1
      } else {
        if (line !~ /^SEVERE: ./) { print "line " NR " is no record'"'"'s second line: " substr(line, 1, 120); exit 1 }
        inRecord = 0
      }
    }
    END { if (inRecord) { print "the last record has one line"; exit 1 } }' "$log")" ||
    fail "$(basename "$log") is not whole: $problem"
}

# Every record "Starting $2..." was written in a minute m for which the awk
# condition $1 holds, and there is at least one. The record is the daemon's own
# word on when it started the command: the command itself may run much later
# on a busy machine.
expectStartMinutes() {
  local condition=$1 command=$2 wrong
  logLines >/dev/null
  wrong="$(LC_ALL=C awk -v prefix="SEVERE: Starting $command" '
    index($0, prefix) == 1 { found = 1; m = substr(stamp, 15, 2) + 0; if (!('"$condition"')) print stamp }
    { stamp = $1 " " $2 }
    END { if (!found) print "none at all" }' "$workDir/log.txt")"
  [[ -z $wrong ]] || fail "'$command' started at minutes not where $condition: $(head -c 200 <<<"$wrong" | tr '\n' ' ')"
}

# Ends the commands still running in $workDir: those of this scenario only.
endCommandsLeft() {
  local process
  for process in /proc/[0-9]*; do
    [[ "$(readlink "$process/cwd" 2>/dev/null)" == "$workDir" ]] && kill -TERM "${process#/proc/}" 2>/dev/null
  done
  return 0
}

expectNoSanitizerReport() {
  if compgen -G "$workDir/sanitizer*" >/dev/null; then
    fail "sanitizer report:"
    cat "$workDir"/sanitizer* | head -40
  fi
}

# Runs scenario $1 in a fresh folder; false when it failed.
runScenario() {
  local name=$1
  workDir="$(mktemp -d)"
  chmod 755 "$workDir"
  cp "$executable" "$workDir/plandek"
  scenarioFailed=0
  runAs=""
  daemonPrefix=""
  daemonInput=/dev/null
  zone=UTC
  clockFile=""
  echo "== $name"
  "$name"
  [[ -n $daemonPid ]] && stopDaemon
  expectNoSanitizerReport
  if ((scenarioFailed)); then
    failed=$((failed + 1))
    echo "  log was:"
    cut -c1-160 "$workDir/plandek.log" 2>/dev/null | cat -A | head -40 | sed 's/^/    /'
    echo "  console was:"
    head -c 2000 "$workDir/stdout" 2>/dev/null | sed 's/^/    /'
    return 1
  fi
  passed=$((passed + 1))
  rm -rf "$workDir"
}

# The date and time of each record "Starting $1", one a line, in log order.
startTimes() {
  logLines >/dev/null
  LC_ALL=C awk -v message="SEVERE: Starting $1" '$0 == message { print stamp } { stamp = $1 " " $2 }' \
    "$workDir/log.txt"
}

# Command $1 started exactly $2 times.
expectStarts() {
  local count
  count=$(startTimes "$1" | wc -l)
  ((count == $2)) || fail "'$1' started $count times, not $2: $(startTimes "$1" | tr '\n' ' ')"
}

# Reads the running daemon's resident and anonymous memory (kB), threads and
# open descriptors into residentKb, anonymousKb, threadCount, descriptorCount;
# false when it has gone. Builtins only: a probe in a loop must not load the
# machine it measures.
daemonFigures() {
  local key value _ descriptors
  while read -r key value _; do
    case $key in
      VmRSS:) residentKb=$value ;;
      RssAnon:) anonymousKb=$value ;;
      Threads:) threadCount=$value ;;
    esac
  done <"/proc/$daemonPid/status" || return 1
  descriptors=("/proc/$daemonPid/fd/"*)
  descriptorCount=${#descriptors[@]}
}

# Whether a thread of the daemon has a child process: a command still runs.
daemonHasChildren() {
  local children task
  for task in "/proc/$daemonPid/task/"*/children; do
    read -r children <"$task" 2>/dev/null && [[ -n $children ]] && return 0
  done
  return 1
}

# Runs the scenarios named after "--", only those also named before it when
# any are (a script's own arguments after the executable pick scenarios to run
# alone), then prints the tally; false when one failed.
runScenarios() {
  local picked=() scenario
  while [[ $1 != -- ]]; do
    picked+=("$1")
    shift
  done
  shift
  for scenario in "$@"; do
    [[ ${#picked[@]} -gt 0 && " ${picked[*]} " != *" $scenario "* ]] && continue
    runScenario "$scenario"
  done
  echo "$passed passed, $failed failed"
  ((failed == 0))
}
