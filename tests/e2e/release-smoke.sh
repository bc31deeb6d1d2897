#!/usr/bin/env bash
# The release executable on the real clock: it is linked statically, so
# libfaketime cannot reach it and the scenarios here wait for real minutes
# (about a minute and a half in all). Checks that it is linked whole, with
# nothing that would load a shared library at run time (name-service
# modules, character set converters, locales), and that it runs: @reboot, an
# edit loaded on SIGHUP, an entry started in the minute it names, a stop.
# Usage: release-smoke.sh PATH-TO-plandek [SCENARIO...]
# Prints "N passed, N failed" and exits non-zero when a scenario failed.
set -uo pipefail

readonly executable="$(realpath "$1")"
shift
source "$(dirname "$0")/lib.sh"

# No program interpreter, no shared library needed, and none of the C
# library's functions that reach for the name service or a converter module:
# statically linked, those would look for shared modules of the installed C
# library at run time (the build refuses the name-service ones outright).
linkedWhole() {
  local headers symbols
  headers=$(LC_ALL=C readelf -lWd "$workDir/plandek" 2>&1)
  grep -q 'Requesting program interpreter' <<<"$headers" && fail "it has a program interpreter"
  grep -q '(NEEDED)' <<<"$headers" && fail "it needs shared libraries: $(grep '(NEEDED)' <<<"$headers" | grep -o '\[[^]]*\]' | tr '\n' ' ')"
  symbols=$(nm "$workDir/plandek" 2>&1 |
    grep -E ' [TtWw] (getpw|getgr|getspnam|getaddrinfo|gethostby|getservby|getlogin|iconv_open)' || true)
  [[ -z $symbols ]] || fail "it links name-service or converter functions: $(tr '\n' ' ' <<<"$symbols")"
}

# Runs the daemon under strace through a load and a stop: it opens no shared
# object, converter module, locale or name-service file. The C library's
# converters and dlopen are linked (its error texts are translatable), and
# reached only from a locale other than "C", which plandek never sets.
opensNoSharedModules() {
  printf '0 0 30 2 * echo never\n' >"$workDir/plandek.dat"
  (cd "$workDir" && exec strace -f -qq -e trace=open,openat,execve -o "$workDir/trace" ./plandek \
    </dev/null >"$workDir/stdout" 2>"$workDir/stderr") &
  local tracer=$! daemon="" waited=0
  waitForLines "$workDir/plandek.log" 1 '^SEVERE: Reloaded crons'
  daemon=$(cat /proc/"$tracer"/task/*/children 2>/dev/null | head -1)
  [[ -n $daemon ]] && kill -TERM $daemon
  while kill -0 "$tracer" 2>/dev/null && ((waited < 100)); do
    sleep 0.1
    waited=$((waited + 1))
  done
  kill -0 "$tracer" 2>/dev/null && { fail "still running 10 s after SIGTERM"; kill -KILL "$tracer"; }
  wait "$tracer" || fail "exit code $? under strace"
  grep -q 'plandek.dat' "$workDir/trace" || { fail "the trace saw no opening of plandek.dat"; return; }
  local opened
  opened=$(grep -E '\.so[."]|gconv|/locale|nsswitch|passwd|group"|hosts"' "$workDir/trace" | head -5)
  [[ -z $opened ]] || fail "it opened: $opened"
  expectWholeLog
}

# The epoch second of the minute at least $1 seconds ahead.
minuteAhead() { echo $(((($(date +%s) + $1) / 60 + 1) * 60)); }

# @reboot starts once; an edit sent with SIGHUP is loaded at once without a
# second @reboot start; its entry, due at the next minute that leaves time for
# the reload, starts in that minute and not before; SIGTERM stops it with
# code 0 and the closing empty line.
runsOnTheWallClock() {
  printf '@reboot echo boot >> boot.txt\n0 0 30 2 * echo never\n' >"$workDir/plandek.dat"
  startDaemonOnWallClock
  waitForLines "$workDir/boot.txt" 1 boot || return
  local due
  due=$(minuteAhead 15)
  local schedule
  schedule="$(date -ud "@$due" '+%-M %-H') * * *"
  printf '@reboot echo boot >> boot.txt\n%s date +%%s >> timed.txt\n' "$schedule" >"$workDir/plandek.dat.new"
  mv "$workDir/plandek.dat.new" "$workDir/plandek.dat"
  kill -HUP "$daemonPid"
  waitForLines "$workDir/plandek.log" 2 '^SEVERE: Reloaded crons' 20 || return
  logLines >/dev/null
  grep -aqFx "SEVERE: Reloaded crons -> [@reboot=echo boot >> boot.txt, $schedule=date +%s >> timed.txt]" \
    "$workDir/log.txt" || fail "the reload does not name the new entry at '$schedule'"
  waitForLines "$workDir/timed.txt" 1 . $((due - $(date +%s) + 60)) || return
  stopDaemon
  (($(logCount '^SEVERE: Starting echo boot') == 1)) || fail "@reboot started more than once"
  expectStarts 'date +%s >> timed.txt' 1
  local stamp
  stamp=$(startTimes 'date +%s >> timed.txt')
  [[ $stamp == "$(date -ud "@$due" '+%m-%d-%Y %H:%M'):"* ]] ||
    fail "the entry due at $(date -ud "@$due" '+%H:%M') started at $stamp"
  (($(head -1 "$workDir/timed.txt") >= due)) || fail "the command ran before its minute"
  expectWholeLog
  endsWithClosingEmptyLine || fail "no closing empty line"
}

runScenarios "$@" -- linkedWhole opensNoSharedModules runsOnTheWallClock
