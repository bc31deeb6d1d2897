#!/usr/bin/env bash
# The log on a full disk: the real plandek executable on a small tmpfs of its
# own (the log lies beside the executable), filled up while every-minute
# entries write their records, then freed, twice. The log must stay whole, no
# record torn or joined to another; the console must say
# "tqErrorManager: 1: Write error" once for each spell of failures, not once
# per record; and records must go on once there is room again. Mounting needs
# root: as another user the script says so and passes.
# Usage: logfull.sh PATH-TO-plandek
# Prints "N passed, N failed" and exits non-zero when a scenario failed.
set -uo pipefail

readonly executable="$(realpath "$1")"
source "$(dirname "$0")/lib.sh"

if ((EUID != 0)); then
  echo "skipped: mounting a small file system needs root"
  exit 0
fi

# The small disk's mount point while it is mounted.
disk=""

# Unmounts the small disk whatever happened, after ending what still runs
# from it: a busy mount cannot go.
unmountDisk() {
  [[ -n $disk ]] || return 0
  if [[ -n $daemonPid ]]; then
    kill -KILL "$daemonPid" 2>/dev/null
    wait "$daemonPid" 2>/dev/null
    daemonPid=""
  fi
  local process
  for process in /proc/[0-9]*; do
    [[ "$(readlink "$process/cwd" 2>/dev/null)" == "$disk" ]] && kill -KILL "${process#/proc/}" 2>/dev/null
  done
  umount "$disk" 2>/dev/null || { sleep 1; umount "$disk"; } || umount -l "$disk"
  rmdir "$disk"
  disk=""
}
trap unmountDisk EXIT
# A signal ends the script through its exit, and so through the unmount.
trap 'exit 1' INT TERM HUP PIPE

# Runs $1 with $workDir on a tmpfs just larger than the executable, the
# console's files in the scenario's own folder, where a full disk cannot stop
# them and the disk's unmounting does not take them.
onASmallDisk() {
  local outer=$workDir kilobytes
  kilobytes=$(($(stat -c %s "$executable") / 1024 + 1024))
  disk=$outer/disk
  mkdir "$disk"
  mount -t tmpfs -o "size=${kilobytes}k,mode=755" tmpfs "$disk" || {
    rmdir "$disk"
    disk=""
    fail "could not mount a tmpfs"
    return
  }
  cp "$executable" "$disk/plandek"
  ln -s "$outer/stdout" "$disk/stdout"
  ln -s "$outer/stderr" "$disk/stderr"
  workDir=$disk
  "$1"
  [[ -n $daemonPid ]] && stopDaemon
  cp "$disk/plandek.log" "$disk"/sanitizer* "$outer/" 2>/dev/null
  workDir=$outer
  unmountDisk
}

# Fills the disk to its last block: writes to it fail or are cut short.
fillDisk() { dd if=/dev/zero of="$workDir/filler" bs=4096 2>/dev/null; }

fullAndFreedTwice() {
  # Long records, six a minute: the room left in the log's last block on a
  # full disk fills within seconds.
  local entry padding
  padding=$(printf '%0250d' 0)
  for entry in 1 2 3 4 5 6; do echo "* * * * * echo $entry-$padding > /dev/null"; done >"$workDir/plandek.dat"
  startDaemon "2026-12-13 12:00:20"
  waitForLines "$workDir/plandek.log" 6 '^SEVERE: Starting' || return
  local spell starts
  for spell in 1 2; do
    fillDisk
    waitForLines "$workDir/stdout" "$spell" '^tqErrorManager: 1: Write error' 60 || return
    # More minutes' records fail in the same spell.
    sleep 3
    # Read in place: lib.sh's log readers write a copy beside the log.
    starts=$(grep -ac '^SEVERE: Starting' "$workDir/plandek.log")
    rm "$workDir/filler"
    waitForLines "$workDir/plandek.log" $((starts + 6)) '^SEVERE: Starting' 60 || return
  done
  stopDaemon
  local reports
  reports=$(grep -ac '^tqErrorManager: 1: Write error' "$workDir/stdout")
  ((reports == 2)) || fail "$reports write error reports for two spells"
  expectWholeLog
  endsWithClosingEmptyLine || fail "the log does not end with the closing empty line"
}

logOnAFullDisk() { onASmallDisk fullAndFreedTwice; }

runScenario logOnAFullDisk

echo "$passed passed, $failed failed"
((failed == 0))
