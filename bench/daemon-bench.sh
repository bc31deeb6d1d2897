#!/usr/bin/env bash
# Measures the real plandek executable against its speed and memory goals:
#   1. load of a 100,000-line schedule          (goal < 0.5 s)
#   2. one pass over 100,000 entries            (goal < 10 ms)
#   3. idle wake-ups and CPU a minute, all threads (goal <= 2 and < 2 ms)
#   4. resident memory when idle                (goal <= 1,500 kB)
#   5. delay from the minute boundary to a command's start (goal: median < 10 ms)
# and 3, 4 and 5 side by side with Debian's cron daemon (`cron -f`), printing
# the ratios plandek / cron.
# Each run uses a fresh temporary directory with its own copy of the executable,
# so plandek.dat and plandek.log are the run's own. Takes about 3 to 4 minutes:
# 3, 4 and 5 run in real time for two minutes, started just before a minute.
# Needs root: the cron peer runs in a mount namespace of its own (see startCron).
set -euo pipefail
cd "$(dirname "$0")/.."

[[ $(id -u) -eq 0 ]] || { echo "Run as root: the cron peer runs in a mount namespace of its own" >&2; exit 1; }
scripts/setup-deps.sh cmake ninja-build g++ libbenchmark-dev libssl-dev faketime python3 cron >/dev/null

# The bench preset builds plandek as the release preset does, beside matcher_bench.
cmake --preset bench >/dev/null
cmake --build --preset bench --target plandek plandek_dynamic matcher_bench -j2 >/dev/null
executable=$PWD/build/bench/daemon/plandek
# libfaketime reaches only a dynamically linked executable: the load runs this
# twin of the static one.
fakedTimeExecutable=$PWD/build/bench/daemon/plandek_dynamic
matcherBench=$PWD/build/bench/bench/matcher_bench
fakeTimeLibrary=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1

work=$(mktemp -d)
daemons=()
cleanup() {
  local pid
  for pid in "${daemons[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A fresh directory holding a copy of the executable (${2:-$executable}) and
# the given schedule.
prepareRun() {
  mkdir "$work/$1"
  cp "${2:-$executable}" "$work/$1/plandek"
  cat > "$work/$1/plandek.dat"
}

# Debian's cron in the run's directory $1, with a crontab of the lines after it
# (system format, with a user field) as its only one; its pid goes to daemons[].
# A mount namespace of its own shows it that crontab as /etc/crontab, empty
# /etc/cron.d and spool, and the run's folder as /run for its pid file: a
# system cron that may run beside it sees nothing of it, and the peer runs
# none of the machine's jobs. Its pid is read from its pid file, once written.
startCron() {
  mkdir -p "$work/$1/run"
  printf '%s\n' "SHELL=/bin/sh" "${@:2}" > "$work/$1/crontab"
  chmod 644 "$work/$1/crontab"
  (cd "$work/$1" && exec unshare --mount sh -c "mount --bind '$work/$1/crontab' /etc/crontab &&
    mount -t tmpfs -o mode=755 tmpfs /etc/cron.d && mount -t tmpfs -o mode=1730 tmpfs /var/spool/cron/crontabs &&
    mount --bind '$work/$1/run' /run && exec cron -f" </dev/null >"$work/$1/console" 2>&1) &
  local waited=0
  until [[ -s $work/$1/run/crond.pid ]]; do
    ((waited++ < 50)) || { echo "cron did not start: $(cat "$work/$1/console")" >&2; exit 1; }
    sleep 0.1
  done
  daemons+=("$(cat "$work/$1/run/crond.pid")")
}

# Starts the daemon in the run's directory; its pid goes to daemons[].
startDaemon() {
  (cd "$work/$1" && exec ./plandek </dev/null >/dev/null 2>&1) &
  daemons+=("$!")
}

# Stops the daemon of pid $1 and waits until it has gone (cron is no child
# of this shell's).
stopDaemon() {
  kill -TERM "$1"
  wait "$1" 2>/dev/null || true
  while kill -0 "$1" 2>/dev/null; do sleep 0.1; done
}

# "<context switches> <CPU ns> <threads>" summed over every thread of the process.
threadTotals() {
  python3 - "$1" <<'EOF'
import glob, sys
switches = cpu = threads = 0
for task in glob.glob(f"/proc/{sys.argv[1]}/task/*"):
    try:
        status = open(task + "/status").read().splitlines()
        onCpu = open(task + "/schedstat").read().split()[0]
    except OSError:
        continue
    for line in status:
        if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
            switches += int(line.split()[1])
    cpu += int(onCpu)
    threads += 1
print(switches, cpu, threads)
EOF
}

residentKilobytes() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }

# 100,000 varied entries that are never due: days that the month lacks.
neverDueSchedule() {
  python3 - "$1" <<'EOF'
import sys
impossible = [("30", "2"), ("31", "2"), ("31", "4"), ("31", "6"), ("31", "9"), ("31", "11"),
              ("30,31", "2"), ("31", "4,6,9,11"), ("30-31", "2")]
minutes = ["{m}", "{m},{n}", "*/{s}", "{m}-59/{s}", "*"]
for index in range(int(sys.argv[1])):
    m, n, s = index % 60, (index * 7 + 13) % 60, 1 + index % 29
    minute = minutes[index % len(minutes)].format(m=m, n=n, s=s)
    hour = ["*", str(index % 24), f"{index % 12}-{12 + index % 12}"][index % 3]
    day, month = impossible[index % len(impossible)]
    print(f"{minute} {hour} {day} {month} * echo job{index} >> never.txt")
EOF
}

echo "== 1, 2: load and pass with 100,000 entries (time sped up 60 times by libfaketime)"
neverDueSchedule 100000 | prepareRun load "$fakedTimeExecutable"
# Python's clock is the real one: only the daemon runs under libfaketime.
read -r loadSeconds minuteWorkMs < <(python3 - "$work/load" "$fakeTimeLibrary" <<'EOF'
import os, subprocess, sys, time
directory, library = sys.argv[1], sys.argv[2]
log = os.path.join(directory, "plandek.log")

def threadCpuNs(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        total += int(open(f"/proc/{pid}/task/{task}/schedstat").read().split()[0])
    return total

def reloadLogged():
    # The record is complete when the log ends with the list's closing bracket.
    try:
        with open(log, "rb") as file:
            head = file.read(200)
            file.seek(-3, os.SEEK_END)
            return b"Reloaded crons" in head and file.read() == b"]\r\n"
    except (FileNotFoundError, OSError):
        return False

environment = dict(os.environ, LD_PRELOAD=library, FAKETIME="@2026-12-13 12:00:37 x60")
started = time.monotonic()
daemon = subprocess.Popen(["./plandek"], cwd=directory, env=environment,
                          stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
while not reloadLogged():
    if daemon.poll() is not None or time.monotonic() - started > 30:
        sys.exit("the daemon did not log its reload")
    time.sleep(0.0005)
loaded = time.monotonic() - started
# Five real seconds are five faked minutes: five wake-ups, each a digest check of
# the 100,000-line file and a pass over its entries.
time.sleep(0.5)
before = threadCpuNs(daemon.pid)
time.sleep(5.0)
after = threadCpuNs(daemon.pid)
daemon.terminate()
daemon.wait()
text = open(log, "rb").read()
if b"Starting" in text or b"Skipped" in text:
    sys.exit("the schedule was not read as meant: " + text[:300].decode(errors="replace"))
print(f"{loaded:.3f} {(after - before) / 5 / 1e6:.2f}")
EOF
)
echo "load: ${loadSeconds} s; daemon's work a minute (digest check + pass): ${minuteWorkMs} ms"

echo "== 2: one compiled pass over 100,000 entries (matcher_bench)"
passMs=$("$matcherBench" --benchmark_filter='^CompiledPass/100000$' --benchmark_format=json 2>/dev/null |
  python3 -c "import json, sys; run = json.load(sys.stdin)['benchmarks'][0]; print(f\"{run['real_time']:.2f}\")")
echo "pass: ${passMs} ms"

echo "== 3, 4, 5: two minutes in real time beside Debian's cron (waiting for second 56 of the minute)"
# Idle: one entry that is never due. Starts: one entry due every minute.
printf '0 0 30 2 * echo never >> never.txt\n' | prepareRun idle
printf '* * * * * date +%%s.%%N >> starts.txt\n' | prepareRun starts
python3 -c 'import time; time.sleep((56 - time.time() % 60) % 60)'
startDaemon idle
idlePid=${daemons[-1]}
startDaemon starts
startsPid=${daemons[-1]}
startCron cron-idle "0 0 30 2 * root echo never >> $work/cron-idle/never.txt"
cronIdlePid=${daemons[-1]}
# In a crontab a bare % ends the command.
startCron cron-starts "* * * * * root date +\%s.\%N >> $work/cron-starts/starts.txt"
cronStartsPid=${daemons[-1]}
sleep 2
read -r switchesBefore cpuBefore threadsBefore < <(threadTotals "$idlePid")
read -r cronSwitchesBefore cronCpuBefore _ < <(threadTotals "$cronIdlePid")
sleep 120
read -r switchesAfter cpuAfter threadsAfter < <(threadTotals "$idlePid")
read -r cronSwitchesAfter cronCpuAfter _ < <(threadTotals "$cronIdlePid")
idleKilobytes=$(residentKilobytes "$idlePid")
jobKilobytes=$(residentKilobytes "$startsPid")
cronIdleKilobytes=$(residentKilobytes "$cronIdlePid")
cronJobKilobytes=$(residentKilobytes "$cronStartsPid")
# Shared libraries' pages count as file-backed, as do the executable's own.
residentBreakdown() {
  awk '/^Rss(Anon|File|Shmem):/ {printf "%s%s %s kB", separator, $1, $2; separator = ", "}' "/proc/$1/status"
}
idleBreakdown=$(residentBreakdown "$idlePid")
cronIdleBreakdown=$(residentBreakdown "$cronIdlePid")
# The third boundary's start, then stop.
sleep 4
for pid in "$idlePid" "$startsPid" "$cronIdlePid" "$cronStartsPid"; do stopDaemon "$pid"; done
daemons=()
# The change from $1 to $2 a minute (of two), divided by $3, with ${4:-1} decimals.
perMinute() { python3 -c "print(f'{($2 - $1) / 2 / $3:.${4:-1}f}')"; }
wakeUps=$(perMinute "$switchesBefore" "$switchesAfter" 1)
idleCpuMs=$(perMinute "$cpuBefore" "$cpuAfter" 1e6 3)
cronWakeUps=$(perMinute "$cronSwitchesBefore" "$cronSwitchesAfter" 1)
cronIdleCpuMs=$(perMinute "$cronCpuBefore" "$cronCpuAfter" 1e6 3)
echo "idle: threads ${threadsBefore} -> ${threadsAfter}, ${wakeUps} wake-ups and ${idleCpuMs} ms CPU a minute;" \
  "cron ${cronWakeUps} wake-ups and ${cronIdleCpuMs} ms"
echo "resident: ${idleKilobytes} kB idle (${idleBreakdown}), ${jobKilobytes} kB with an every-minute job"
echo "cron resident: ${cronIdleKilobytes} kB idle (${cronIdleBreakdown}), ${cronJobKilobytes} kB with an every-minute job"

# "median all-delays" in ms of the starts stamped in file $1. plandek's first
# pass at start-up starts the job at once, mid-minute: only starts within 5 s
# after a boundary are boundary starts.
startDelays() {
  python3 - "$1" <<'EOF'
import statistics, sys
from decimal import Decimal
try:
    lines = [line for line in open(sys.argv[1]) if line.strip()]
except FileNotFoundError:
    lines = []
delays = [float((Decimal(line) % 60) * 1000) for line in lines]
delays = [delay for delay in delays if delay < 5000]
print(f"{statistics.median(delays):.2f}" if delays else "none", ",".join(f"{delay:.2f}" for delay in delays) or "-")
EOF
}
read -r startDelayMs startDelayList < <(startDelays "$work/starts/starts.txt")
read -r cronStartDelayMs cronStartDelayList < <(startDelays "$work/cron-starts/starts.txt")
echo "start delays (ms after the minute): ${startDelayList}; cron ${cronStartDelayList}"

verdict() { python3 -c "print('met' if $1 else 'MISSED')"; }
echo
echo "== plandek daemon benchmark ($(nproc) cores, $(date -u +%Y-%m-%d))"
printf '%-52s %14s %18s %s\n' measure figure goal verdict
printf '%-52s %14s %18s %s\n' "1. load of a 100,000-line schedule" "${loadSeconds} s" "< 0.5 s" \
  "$(verdict "$loadSeconds < 0.5")"
printf '%-52s %14s %18s %s\n' "2. one pass over 100,000 entries (matcher_bench)" "${passMs} ms" "< 10 ms" \
  "$(verdict "$passMs < 10")"
printf '%-52s %14s %18s %s\n' "   daemon's minute work, 100,000 entries (+ digest)" "${minuteWorkMs} ms" "(< 10 ms)" \
  "$(verdict "$minuteWorkMs < 10")"
printf '%-52s %14s %18s %s\n' "3. idle wake-ups a minute, all threads" "${wakeUps}" "<= 2" \
  "$(verdict "$wakeUps <= 2")"
printf '%-52s %14s %18s %s\n' "   idle CPU a minute, all threads" "${idleCpuMs} ms" "< 2 ms" \
  "$(verdict "$idleCpuMs < 2")"
printf '%-52s %14s %18s %s\n' "4. resident memory when idle" "${idleKilobytes} kB" "<= 1,500 kB" \
  "$(verdict "$idleKilobytes <= 1500")"
printf '%-52s %14s %18s %s\n' "5. minute boundary to command start, median" "${startDelayMs} ms" "< 10 ms" \
  "$(verdict "$startDelayMs < 10")"

# Three significant digits: a start delay's ratio is some thousandths.
ratio() { python3 -c "print(f'{$1 / $2:.3g}' if $2 else 'n/a')" 2>/dev/null || echo n/a; }
echo
echo "== side by side with Debian's cron ($(dpkg-query -W -f='cron ${Version}' cron)), the same two minutes"
printf '%-46s %10s %10s %15s\n' measure plandek cron "plandek / cron"
printf '%-46s %10s %10s %15s\n' "resident memory when idle (kB)" "$idleKilobytes" "$cronIdleKilobytes" \
  "$(ratio "$idleKilobytes" "$cronIdleKilobytes")"
printf '%-46s %10s %10s %15s\n' "idle CPU a minute, all threads (ms)" "$idleCpuMs" "$cronIdleCpuMs" \
  "$(ratio "$idleCpuMs" "$cronIdleCpuMs")"
printf '%-46s %10s %10s %15s\n' "idle wake-ups a minute, all threads" "$wakeUps" "$cronWakeUps" \
  "$(ratio "$wakeUps" "$cronWakeUps")"
printf '%-46s %10s %10s %15s\n' "minute boundary to command start, median (ms)" "$startDelayMs" \
  "$cronStartDelayMs" "$(ratio "$startDelayMs" "$cronStartDelayMs")"
