#!/usr/bin/env bash
# End-to-end tests of the real plandek executable across summer time and
# clock changes, under libfaketime. Assertions are on plandek.log's records:
# how often each command started and, where it matters, at which minute.
# Usage: clock.sh PATH-TO-plandek
# Prints "N passed, N failed" and exits non-zero when a scenario failed.
set -uo pipefail

readonly executable="$(realpath "$1")"
source "$(dirname "$0")/lib.sh"

# Berlin, 28 March 2027: 01:59 CET is followed by 03:00 CEST.
summerTimeBegins() {
  zone=Europe/Berlin
  cat >"$workDir/plandek.dat" <<'DAT'
30 2 * * * true at 02:30
0 3 * * * true at 03:00
* 0-2 28 3 * true every minute of hours 0 to 2
0 * 28 3 * true hourly
2 3 * * * true last
DAT
  startDaemon "2027-03-28 01:55:30"
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Starting true last' 60 || return
  stopDaemon
  expectStarts "true at 02:30" 1
  [[ $(startTimes "true at 02:30") == "03-28-2027 03:0"* ]] || fail "02:30 did not start with the 03:00 pass"
  expectStarts "true at 03:00" 1
  # From the first load's minute (a busy machine starts the daemon late) to
  # 01:59, and no burst for the hour that does not exist.
  local firstMinute
  firstMinute=$((10#$(logLines | sed -n 2p | cut -c15-16)))
  expectStarts "true every minute of hours 0 to 2" $((60 - firstMinute))
  expectStarts "true hourly" 1
  expectWholeLog
}

# Berlin, 31 October 2027: 02:59 CEST is followed by 02:00 CET. Twice as fast
# as the others: the scenario spans two hours of the fake clock.
summerTimeEnds() {
  zone=Europe/Berlin
  cat >"$workDir/plandek.dat" <<'DAT'
30 2 * * * true at 02:30
*/30 2 * * * true every half hour of hour 2
* 2 * * * true every minute of hour 2
0 * * * * true hourly
1 3 * * * true last
DAT
  startDaemon "2027-10-31 01:55:00" 120
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Starting true last' 120 || return
  stopDaemon
  expectStarts "true at 02:30" 1
  expectStarts "true every half hour of hour 2" 4
  expectStarts "true every minute of hour 2" 120
  # 02:00 summer time, 02:00 winter time, 03:00.
  expectStarts "true hourly" 3
  expectWholeLog
}

# Runs the daemon from UTC time $1 on a clock that the scenario can set,
# moves the clock by $2 seconds once "true at 10:30" has started, and stops the
# daemon once "true last" has. The clock runs 30 times as fast as the wall
# clock: the test has two real seconds to move it before 10:31.
runWithClockMovedAfter1030() {
  clockFile="$workDir/fake-clock"
  local clock
  clock="$(clockFromUtc "$1" 30)"
  startDaemonWithClock "$clock"
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Starting true at 10:30' || return 1
  local offset=${clock%% *}
  setFakeClock "+$((offset + $2)) x30"
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Starting true last' || return 1
  stopDaemon
}

# The clock set forward an hour at about 10:30: appointments in the hour
# jumped over run once, the hourly entry is not caught up.
clockSetForward() {
  cat >"$workDir/plandek.dat" <<'DAT'
30 10 * * * true at 10:30
45 10 * * * true at 10:45
15 11 * * * true at 11:15
0 * * * * true hourly
33 11 * * * true last
DAT
  runWithClockMovedAfter1030 "2026-12-14 10:29:30" 3600 || return
  expectStarts "true at 10:30" 1
  expectStarts "true at 10:45" 1
  expectStarts "true at 11:15" 1
  expectStarts "true hourly" 0
  expectWholeLog
}

# The clock set back five minutes at about 10:30: the repeating entry runs
# again in the minutes that come round twice, appointments do not.
clockSetBack() {
  cat >"$workDir/plandek.dat" <<'DAT'
28-32 * * * * true minutes 28 to 32
29 10 * * * true at 10:29
30 10 * * * true at 10:30
33 10 * * * true last
DAT
  runWithClockMovedAfter1030 "2026-12-14 10:25:30" -300 || return
  expectStarts "true at 10:29" 1
  expectStarts "true at 10:30" 1
  local minutes
  minutes="$(startTimes "true minutes 28 to 32" | cut -c15-16 | tr '\n' ' ')"
  # Up to the minute the clock went back in (10:30 or, on a slow machine, a
  # later one), then from 10:28 again.
  [[ $minutes =~ ^"28 29 30 "("31 "("32 ")?)?"28 29 30 31 32 "$ ]] || fail "the repeating entry ran at minutes: $minutes"
  expectWholeLog
}

runScenario summerTimeBegins
runScenario summerTimeEnds
runScenario clockSetForward
runScenario clockSetBack

echo "$passed passed, $failed failed"
((failed == 0))
