#!/usr/bin/env bash
# Days of running: the real plandek executable under libfaketime for N
# simulated hours with 100 entries due every minute, a few due at chosen
# minutes only, and plandek.dat edited every simulated hour. Reports resident
# memory, open descriptors and threads at the start, once warm and at the end,
# and the log's records against what the schedule names. Fails on growth
# beyond noise, a torn or missing record, a start count other than the
# schedule's, or a start at a minute its entry does not name.
# Usage: soak.sh PATH-TO-plandek [HOURS] [SPEED]
#   HOURS  1 to 24, or whole days (48, 72 ... 744); default 24
#   SPEED  libfaketime's factor; default 30, a simulated hour in 2 real minutes
# Prints a summary and exits non-zero when the run failed. The run's folder is
# removed when it passed and kept (its path printed) when it did not. Meant
# for the release build: under AddressSanitizer the memory limits fail by
# design (its quarantine grew resident memory by 41 MB in an hour), while the
# other checks and its leak report at exit still hold.
#
# Nothing here depends on how fast the machine is. Every entry is due only in
# the soak's window, 1 January 2027 00:00 UTC and the N hours after it (but for
# a warm-up at 23:59 and one entry just after it), and the daemon starts four
# simulated minutes earlier and stops only after an entry due two minutes after
# the window has started: the expected starts follow from the schedule alone,
# not from when an edit or the stop happened to land. A start is stamped when the daemon
# writes its record, which on a busy machine is some seconds after its minute
# (the passes of this 2-core machine take 0.4 to 0.8 real seconds for 100
# starts), so starts are paired with their due minutes entry by entry, in
# order, and each must be stamped at or after its minute and less than five
# minutes after it: the span in which a late daemon still catches every minute
# up. Memory and threads are read at quiet moments only. The default speed is
# the one this 2-core machine keeps up with beside two busy loops and other
# builds (a shell start costs it 6 to 8 ms of CPU): it did at x30 and x45, and
# at x60 it fell ever further behind.
set -uo pipefail

readonly executable="$(realpath "$1")"
readonly hours=${2:-24}
readonly speed=${3:-30}
source "$(dirname "$0")/lib.sh"

# Growth allowed from the warm reading to the end, in kB. Seen here: 4 kB in
# a simulated hour, on a quiet machine and beside four busy loops; 64 kB in a
# day, 44 of them in the first two hours, in 4 kB steps that stop (the malloc
# arena of the reloads settling: 400 reloads in a row grow it by 12 kB, all in
# the first 150); 92 kB in a day before the warm-up below. A leak of one
# 32-byte block a start is 4.7 MB a simulated day; in one hour a part of it
# would fill the arenas' free space unseen, so the hour sees a leak only from
# some 70 bytes a start.
readonly residentGrowthLimit=192
readonly anonymousGrowthLimit=128
# A start is paired with its minute when stamped less than this many seconds
# after it.
readonly latenessLimit=300

readonly daemonStart="2026-12-31 23:56:05"
windowFrom=$(($(date -ud "2027-01-01 00:00" +%s) / 60))
windowTo=$((windowFrom + hours * 60))
# Every minute from the daemon's first pass on is matched; the first due is 23:59.
evaluateFrom=$((windowFrom - 4))
# The last entry is due here; its start ends the run.
lastDue=$((windowTo + 2))
readonly windowFrom windowTo evaluateFrom lastDue

if ((hours >= 1 && hours < 24)); then
  windowHours="0-$((hours - 1))" windowDays=1
elif ((hours % 24 == 0 && hours <= 744)); then
  windowHours="*" windowDays="1-$((hours / 24))"
else
  echo "HOURS must be 1 to 24 or a multiple of 24 up to 744, not $hours" >&2
  exit 2
fi
readonly windowHours windowDays

# "schedule;awk condition;command" for each entry. The condition names the
# minutes the schedule does: at (the epoch minute), m, h, dom, mon, dow, and w
# when it lies in the window. Entry 100 carries the number of the last edit (@), which the
# analysis strips. 1 January 2027 is a Friday.
scheduleTable() {
  local number
  for ((number = 1; number < 100; number++)); do
    printf '* %s %s 1 *;w;: every minute %03d\n' "$windowHours" "$windowDays" "$number"
  done
  cat <<TABLE
* $windowHours $windowDays 1 *;w;: every minute 100, edit @
*/2 $windowHours $windowDays 1 *;w && m % 2 == 0;: even minutes
1-59/2 $windowHours $windowDays 1 *;w && m % 2 == 1;: odd minutes
*/15 $windowHours $windowDays 1 *;w && m % 15 == 0;: quarter hours
5-59/20 $windowHours $windowDays 1 *;w && m % 20 == 5;: 5, 25 and 45 past
7,37 $windowHours $windowDays 1 *;w && (m == 7 || m == 37);: 7 and 37 past
0 $windowHours $windowDays 1 *;w && m == 0;: on the hour
45 $windowHours/3 $windowDays 1 *;w && m == 45 && h % 3 == 0;: 45 past every third hour
* $windowHours $windowDays 1 5;w && dow == 5;: every minute on fridays
*/10 $windowHours $windowDays 1 1-5;w && m % 10 == 0 && dow >= 1 && dow <= 5;: every ten minutes on weekdays
30 $windowHours $windowDays 1 6;w && dow == 6 && m == 30;: half past on saturdays
0 0 1 1 *;mon == 1 && dom == 1 && h == 0 && m == 0;: new year
TABLE
  # The last minute of the year: a hundred commands that run side by side for
  # half a simulated minute, so that the warm reading finds every thread the
  # daemon keeps (the first start adds the one that reaps the jobs) and the C
  # library's malloc arenas grown to what a busy minute asks of them.
  for ((number = 1; number <= 100; number++)); do
    printf '59 23 31 12 *;mon == 12 && dom == 31 && h == 23 && m == 59;: warm-up %03d && sleep 30\n' "$number"
  done
  cat <<TABLE
$(date -ud "@$((lastDue * 60))" '+%-M %-H %-d %-m') *;at == $lastDue;: after the window
TABLE
}

# Writes plandek.dat for edit $1 (0: the first file) in one rename, so that
# the daemon never reads half an edit.
writeSchedule() {
  {
    echo "# soak schedule, edit $1"
    scheduleTable | while IFS=';' read -r schedule _ command; do echo "$schedule ${command/@/$1}"; done
  } >"$workDir/plandek.dat.new" && mv "$workDir/plandek.dat.new" "$workDir/plandek.dat"
}

# The minute stamp ("YYYY-MM-DD HH:MM") of the latest record in the log.
latestStamp() {
  tail -c 400 "$workDir/plandek.log" 2>/dev/null | tr -d '\r' | awk '
    / plandek$/ { stamp = substr($1, 7, 4) "-" substr($1, 1, 5) " " substr($2, 1, 5) }
    END { print stamp }'
}

# Waits until the log holds a record stamped at epoch minute $1 or later; up to
# ten times the real time that should take, and a minute.
waitForMinute() {
  local target limit
  target=$(date -ud "@$(($1 * 60))" '+%Y-%m-%d %H:%M')
  limit=$((SECONDS + 60 + 10 * (($1 * 60 - $(date -ud "$(latestStamp)" +%s)) / speed)))
  until [[ ! "$(latestStamp)" < "$target" ]]; do
    if ((SECONDS > limit)) || ! kill -0 "$daemonPid" 2>/dev/null; then
      fail "the log reached no record at $target (latest: $(latestStamp))"
      return 1
    fi
    sleep 0.5
  done
}

# The daemon's figures, or a failure when it has gone.
figuresOrFail() {
  daemonFigures && return
  fail "the daemon has gone"
  return 1
}

# Samples the daemon for $1 real seconds and keeps the quietest reading in
# quiet[]: fewest threads, then fewest descriptors (a pass holds plandek.dat
# open for a moment).
quietFigures() {
  local until=$((SECONDS + $1))
  quiet=()
  while ((SECONDS < until)) || ((${#quiet[@]} == 0)); do
    figuresOrFail || return
    if ((${#quiet[@]} == 0 || threadCount < quiet[2] ||
      (threadCount == quiet[2] && descriptorCount <= quiet[3]))); then
      quiet=("$residentKb" "$anonymousKb" "$threadCount" "$descriptorCount")
    fi
    sleep 0.1
  done
}

describeFigures() { echo "VmRSS $1 kB, RssAnon $2 kB, $3 threads, $4 descriptors"; }

daysOfRunning() {
  local realStart=$SECONDS edit reloads
  echo "  $hours simulated hours at x$speed: about $((hours * 3600 / speed / 60)) real minutes"
  writeSchedule 0
  startDaemon "$daemonStart" "$speed"
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Reloaded crons' || return
  # Nothing is due before 23:59: the daemon is idle, and has started no job.
  quietFigures 1 || return
  local start=("${quiet[@]}")
  echo "  start (23:56, idle):    $(describeFigures "${start[@]}")"

  local warm=() residentSeries="" anonymousSeries=""
  for ((edit = 1; edit <= hours; edit++)); do
    # Every hour at minute 3: entry 100's command and the comment change.
    waitForMinute $((windowFrom + (edit - 1) * 60 + 3)) || return
    writeSchedule "$edit"
    waitForLines "$workDir/plandek.log" $((edit + 1)) '^SEVERE: Reloaded crons' 60 || return
    quietFigures $((3 * 60 / speed)) || return
    residentSeries+=" ${quiet[0]}" anonymousSeries+=" ${quiet[1]}"
    if ((edit == 1)); then
      warm=("${quiet[@]}")
      echo "  warm (00:04, quietest): $(describeFigures "${warm[@]}")"
    fi
    ((edit % 6 == 0 || edit == hours)) &&
      echo "  edit $edit ($(latestStamp)): $(describeFigures "${quiet[@]}"), $(((SECONDS - realStart) / 60)) real minutes"
  done

  waitForMinute "$lastDue" || return
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Starting : after the window' 60 || return
  # Nothing is due any more: every job ends. The threads are the warm reading's:
  # the first start adds the thread that reaps the jobs, for good.
  local limit=$((SECONDS + 60))
  figuresOrFail || return
  while ((threadCount > warm[2])) || daemonHasChildren; do
    if ((SECONDS > limit)); then
      fail "$threadCount threads a minute after the last start, ${warm[2]} when warm"
      break
    fi
    sleep 0.2
    figuresOrFail || return
  done
  quietFigures 1 || return
  local end=("${quiet[@]}")
  echo "  end (after the window): $(describeFigures "${end[@]}")"
  echo "  each hour, quietest (kB): VmRSS$residentSeries; RssAnon$anonymousSeries"
  stopDaemon
  local realMinutes=$(((SECONDS - realStart) / 60)) realSeconds=$(((SECONDS - realStart) % 60))

  ((end[3] == start[3])) || fail "descriptors: ${start[3]} at the start, ${end[3]} at the end"
  ((end[2] == warm[2])) || fail "threads when idle: ${warm[2]} when warm, ${end[2]} at the end"
  ((end[0] - warm[0] <= residentGrowthLimit)) ||
    fail "VmRSS grew by $((end[0] - warm[0])) kB from the warm reading (limit $residentGrowthLimit kB)"
  ((end[1] - warm[1] <= anonymousGrowthLimit)) ||
    fail "RssAnon grew by $((end[1] - warm[1])) kB from the warm reading (limit $anonymousGrowthLimit kB)"
  expectWholeLog
  logLines >/dev/null
  reloads=$(grep -ac '^SEVERE: Reloaded crons' "$workDir/log.txt")
  ((reloads == hours + 1)) || fail "$reloads reloads for $hours edits and the first load"
  # Every load whole: as many entries as the table has rows, no skipped line.
  local entries others
  entries=$(scheduleTable | wc -l)
  others=$(LC_ALL=C awk -v entries="$entries" '
    /^SEVERE: Reloaded crons -> / { n = gsub(/=: /, "&"); if (n != entries) { print "a load of " n " entries"; exit } next }
    /^SEVERE: / && !/^SEVERE: Starting / { print substr($0, 1, 100); exit }' "$workDir/log.txt")
  [[ -z $others ]] || fail "unexpected record: $others"
  expectStartsAsScheduled
  echo "  real time ${realMinutes}m${realSeconds}s; VmRSS $((end[0] - warm[0])) kB, RssAnon" \
    "$((end[1] - warm[1])) kB from warm to end; threads ${start[2]} -> ${warm[2]} -> ${end[2]}, descriptors ${start[3]} -> ${end[3]}"
}

# The Starting records of log.txt against the schedule table: each entry
# started exactly as often as its schedule names a minute from 23:56 to the
# last due minute, each start paired in order with its minute and stamped in
# the $latenessLimit seconds from it, and entry 100's command of edit k only
# after the load of edit k.
expectStartsAsScheduled() {
  scheduleTable | awk -F';' '
    !($2 in id) { id[$2] = ++conditions; print "  if (c == " conditions ") return (" $2 ")" > "/dev/stderr" }
    { sub(/, edit @$/, "", $3); print $3 "\t" id[$2] }' >"$workDir/table.txt" 2>"$workDir/conditions.awk"
  local timeFunctions='
    # Days since 1970-01-01 of a date (proleptic Gregorian).
    function daysFrom(y, mo, d,   era, yoe, doy, doe) {
      y -= (mo <= 2); era = int(y / 400); yoe = y - era * 400
      doy = int((153 * (mo > 2 ? mo - 3 : mo + 9) + 2) / 5) + d - 1
      doe = yoe * 365 + int(yoe / 4) - int(yoe / 100) + doy
      return era * 146097 + doe - 719468
    }
    # Epoch seconds of a record stamp "MM-DD-YYYY HH:MM:SS".
    function stampSeconds(s,   days) {
      days = daysFrom(substr(s, 7, 4) + 0, substr(s, 1, 2) + 0, substr(s, 4, 2) + 0)
      return (days * 1440 + substr(s, 12, 2) * 60 + substr(s, 15, 2)) * 60 + substr(s, 18, 2)
    }'
  # The starts, "command<TAB>epoch seconds", entry by entry in time order.
  LC_ALL=C awk "$timeFunctions"'
    / plandek$/ { stamp = $0; next }
    /^SEVERE: Reloaded crons/ { loads++; next }
    /^SEVERE: Starting / {
      command = substr($0, 18)
      if (match(command, /, edit [0-9]+$/)) {
        edit = substr(command, RSTART + 7) + 0
        if (edit > loads - 1 && !early++) print "FAIL: \"" command "\" started before edit " edit " was loaded"
        ran[edit] = 1
        command = substr(command, 1, RSTART - 1)
      }
      print command "\t" stampSeconds(stamp) > "/dev/stderr"
    }
    END { for (edit = 0; edit < loads; edit++) if (!(edit in ran)) print "FAIL: the command of edit " edit " never started" }' \
    "$workDir/log.txt" 2>"$workDir/starts.txt" >"$workDir/verdict.txt"
  LC_ALL=C sort -t$'\t' -k1,1 -k2,2n "$workDir/starts.txt" >"$workDir/starts-sorted.txt"
  LC_ALL=C awk -F'\t' -v evaluateFrom="$evaluateFrom" -v lastDue="$lastDue" -v windowFrom="$windowFrom" \
    -v windowTo="$windowTo" -v latenessLimit="$latenessLimit" "$timeFunctions"'
    # The fields of epoch minute t, for the conditions.
    function setMinute(t,   days, z, era, doe, yoe, doy, mp) {
      at = t; m = t % 60; h = int(t / 60) % 24; days = int(t / 1440); dow = (days + 4) % 7
      w = t >= windowFrom && t < windowTo
      z = days + 719468; era = int(z / 146097); doe = z - era * 146097
      yoe = int((doe - int(doe / 1460) + int(doe / 36524) - int(doe / 146096)) / 365)
      doy = doe - (365 * yoe + int(yoe / 4) - int(yoe / 100)); mp = int((5 * doy + 2) / 153)
      dom = doy - int((153 * mp + 2) / 5) + 1; mon = mp < 10 ? mp + 3 : mp - 9
    }
    function due(c) {
'"$(cat "$workDir/conditions.awk")"'
    }
    # The due minutes of condition c, in order, into dueAt[c, 1...].
    function listDue(c,   t) {
      if (c in dueCount) return
      dueCount[c] = 0
      for (t = evaluateFrom; t <= lastDue; t++) { setMinute(t); if (due(c)) dueAt[c, ++dueCount[c]] = t }
    }
    function minuteText(t) { setMinute(t); return sprintf("%02d-%02d %02d:%02d", mon, dom, h, m) }
    function problem(text) { if (++problems <= 20) print "FAIL: " text }
    function endEntry() {
      if (entry == "") return
      if (current != "" && count < dueCount[current]) problem("\"" entry "\" started " count " times, not " dueCount[current])
    }
    FNR == NR { condition[$1] = $2; entries[++entryCount] = $1; next }
    $1 != entry {
      endEntry()
      entry = $1; count = 0; started[entry] = 1
      if (!(entry in condition)) { problem("\"" entry "\" is in no schedule"); current = ""; next }
      current = condition[entry]; listDue(current)
    }
    current == "" { next }
    {
      total++
      if (++count > dueCount[current]) {
        if (count == dueCount[current] + 1) problem("\"" entry "\" started more than the " dueCount[current] " times due")
        next
      }
      lateness = $2 - dueAt[current, count] * 60
      if (lateness < 0 || lateness >= latenessLimit) {
        problem("\"" entry "\" start " count " stamped " lateness " s from its minute, " minuteText(dueAt[current, count]))
      }
      if (lateness > latest) latest = lateness
      if (lateness >= 60) spilled++
    }
    END {
      endEntry()
      for (i = 1; i <= entryCount; i++) {
        listDue(condition[entries[i]]); expected += dueCount[condition[entries[i]]]
        if (!(entries[i] in started) && dueCount[condition[entries[i]]] > 0) problem("\"" entries[i] "\" never started")
      }
      printf "STARTS %d %d %d %d\n", total, expected, latest, spilled
    }' "$workDir/table.txt" "$workDir/starts-sorted.txt" >>"$workDir/verdict.txt"
  local line startCount=0 expectedCount=-1 latestStart spilledStarts
  while IFS= read -r line; do
    case $line in
      FAIL:*) fail "${line#FAIL: }" ;;
      STARTS*)
        read -r _ startCount expectedCount latestStart spilledStarts <<<"$line"
        echo "  $startCount starts of $expectedCount expected; $reloads reloads; the latest start stamped" \
          "$latestStart s after its minute, $spilledStarts stamped in a later minute"
        ;;
    esac
  done <"$workDir/verdict.txt"
  ((startCount == expectedCount)) || fail "$startCount starts, $expectedCount expected"
}

# Whatever happens, no daemon or command of this run is left behind.
cleanUp() {
  if [[ -n $daemonPid ]]; then
    kill -KILL "$daemonPid" 2>/dev/null
    wait "$daemonPid" 2>/dev/null
    daemonPid=""
  fi
  if [[ -n $workDir && -d $workDir ]]; then
    endCommandsLeft
    echo "run folder kept: $workDir"
  fi
}
trap cleanUp EXIT
trap 'exit 130' INT TERM

runScenario daysOfRunning
# runScenario removed the folder of a run that passed.
[[ -d $workDir ]] || workDir=""
echo "$passed passed, $failed failed"
((failed == 0))
