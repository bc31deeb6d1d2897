#!/usr/bin/env bash
# The daemon's threads and resident memory while 4,000 jobs run (goal: at most
# 8 threads and 8 MB resident): a schedule of 4,000 "@reboot sleep 120", read
# once every start is logged and every job runs. Real time, about half a
# minute; the sleepers are ended afterwards.
# Usage: bench/jobs-bench.sh [PATH-TO-plandek]   (default: the release preset's build)
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=4000
if [[ $# -ge 1 ]]; then
  executable=$(realpath "$1")
else
  cmake --preset release >/dev/null
  cmake --build --preset release --target plandek >/dev/null
  executable=$PWD/build/release/daemon/plandek
fi

work=$(mktemp -d)
daemon=""
# The daemon's children: its jobs, each in a session of its own.
jobPids() { cat /proc/"$daemon"/task/*/children 2>/dev/null; }
cleanup() {
  if [[ -n $daemon ]]; then
    # shellcheck disable=SC2046
    kill -TERM $(jobPids) 2>/dev/null
    kill -TERM "$daemon" 2>/dev/null
    wait "$daemon" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

cp "$executable" "$work/plandek"
for _ in $(seq 1 "$jobs"); do echo "@reboot sleep 120"; done >"$work/plandek.dat"
(cd "$work" && exec ./plandek </dev/null >/dev/null 2>&1) &
daemon=$!

runningJobs() { jobPids | wc -w; }

for _ in $(seq 1 600); do
  (($(grep -ac '^SEVERE: Starting sleep 120' "$work/plandek.log" 2>/dev/null || true) >= jobs)) && break
  sleep 0.1
done
for _ in $(seq 1 60); do
  (($(runningJobs) >= jobs)) && break
  sleep 0.5
done
running=$(runningJobs)
threads=$(awk '/^Threads:/ {print $2}' "/proc/$daemon/status")
resident=$(awk '/^VmRSS:/ {print $2}' "/proc/$daemon/status")
failed=$(grep -ac '^SEVERE: Could not start' "$work/plandek.log" || true)
echo "$running of $jobs jobs running ($failed said not to start): daemon $threads threads, $resident kB resident"
