#!/usr/bin/env bash
# tqMessageDigest::digestFile against md5sum on a page-cached file of 1 GiB:
# the same answer, and the ratio of their speeds. Then a sparse file of
# 5 GiB + 3 bytes, where a 32-bit length would go wrong, checked against md5sum.
# The files live in build/digest-files/ and are not removed (rerunning reuses them).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh cmake ninja-build g++ libbenchmark-dev libssl-dev
cmake --preset bench >/dev/null
cmake --build --preset bench --target digest_file >/dev/null
tool=build/bench/bench/digest_file
folder=build/digest-files
mkdir -p "$folder"

big="$folder/1GiB.bin"
if [[ ! -f $big || $(stat -c %s "$big") -ne 1073741824 ]]; then
  head -c 1073741824 /dev/urandom >"$big"
fi
cat "$big" >/dev/null  # into the page cache

# Best of three runs, in seconds.
best_time() {
  local best="" start end
  for _ in 1 2 3; do
    start=$EPOCHREALTIME
    "$@" >/dev/null
    end=$EPOCHREALTIME
    best=$(awk -v s="$start" -v e="$end" -v b="$best" 'BEGIN { t = e - s; print (b == "" || t < b) ? t : b }')
  done
  echo "$best"
}

ours=$("$tool" MD5 "$big")
theirs=$(md5sum "$big" | cut -d' ' -f1 | tr a-f A-F)
[[ $ours == "$theirs" ]] || { echo "digests differ: $ours vs $theirs"; exit 1; }

our_time=$(best_time "$tool" MD5 "$big")
their_time=$(best_time md5sum "$big")
awk -v o="$our_time" -v t="$their_time" 'BEGIN {
  printf "1 GiB cached, MD5: digestFile %.0f MB/s, md5sum %.0f MB/s, ratio digestFile/md5sum %.3f\n",
         1073.741824 / o, 1073.741824 / t, t / o }'

sparse="$folder/5GiB-sparse.bin"
rm -f "$sparse"
truncate -s $(( (5 << 30) + 3 )) "$sparse"
ours=$("$tool" MD5 "$sparse")
theirs=$(md5sum "$sparse" | cut -d' ' -f1 | tr a-f A-F)
rm -f "$sparse"
[[ $ours == "$theirs" ]] || { echo "5 GiB + 3 bytes: digests differ: $ours vs $theirs"; exit 1; }
echo "5 GiB + 3 bytes (sparse): digestFile agrees with md5sum ($ours)"
