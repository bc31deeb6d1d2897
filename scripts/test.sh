#!/usr/bin/env bash
# Builds and runs every test: natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, the release build, its install and a simulated
# hour of running, the threaded ones again under ThreadSanitizer, each fuzz
# target briefly, then the Windows cross build under wine, and a smoke run of
# the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh cmake ninja-build g++ googletest \
  g++-mingw-w64-x86-64-posix wine wine64 libbenchmark-dev libssl-dev faketime \
  strace clang libclang-rt-14-dev tzdata

echo "== Linux (dev: ASan + UBSan)"
cmake --preset dev >/dev/null
cmake --build --preset dev
ctest --preset dev

echo "== Linux (release: the README's install recipe, the daemon and its checker)"
# A user needs no GoogleTest, Google Benchmark or OpenSSL: none may be looked up.
lookups=$(cmake --preset release --trace-expand 2>&1 | grep -cE 'find_package\((GTest|benchmark|OpenSSL)|/googletest' || true)
[[ $lookups -eq 0 ]] || { echo "FAILED: the release preset looks up a test or benchmark dependency"; exit 1; }
cmake --build --preset release --target plandek plandek-check plandek_dynamic
rm -rf build/install-check
cmake --install build/release --prefix build/install-check >/dev/null
[[ -x build/install-check/bin/plandek ]] || { echo "FAILED: cmake --install put no bin/plandek"; exit 1; }
[[ -x build/install-check/bin/plandek-check ]] || { echo "FAILED: cmake --install put no bin/plandek-check"; exit 1; }
[[ $(ls build/install-check/bin | tr '\n' ' ') == "plandek plandek-check " ]] ||
  { echo "FAILED: cmake --install put more than plandek and plandek-check in bin/"; exit 1; }
# Linked as plandek is: static, so it runs on a system without the build's libraries.
build/install-check/bin/plandek-check --version | grep -q '^plandek-check ' || { echo "FAILED: plandek-check --version"; exit 1; }
readelf -d build/install-check/bin/plandek-check | grep -q NEEDED && { echo "FAILED: plandek-check needs shared libraries"; exit 1; }

echo "== Release smoke (the static executable on the real clock, about a minute and a half)"
bash tests/e2e/release-smoke.sh build/release/daemon/plandek

echo "== Soak (release build: one simulated hour under libfaketime)"
# Optimised, unsanitised; libfaketime reaches only the dynamically linked twin
# of the static executable, whose own pages add the shared C library's.
bash tests/e2e/soak.sh build/release/daemon/plandek_dynamic 1

echo "== Linux (tsan: the logging and concurrency tests under ThreadSanitizer)"
cmake --preset tsan >/dev/null
cmake --build --preset tsan
ctest --preset tsan

echo "== Fuzzing (each target briefly)"
scripts/fuzz.sh

echo "== Windows (mingw-w64 under wine)"
scripts/wine-prefix.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows
cpack --preset windows >/dev/null
zipContents=$(cmake -E tar tf "$(ls -t build/windows/plandek-*-win64.zip | head -1)")
for file in plandek.exe plandek-check.exe plandek.dat README.md; do
  grep -qx "plandek-[^/]*/$file" <<<"$zipContents" || { echo "FAILED: the zip lacks $file"; exit 1; }
done

echo "== Benchmarks (bench preset; smoke run: each one briefly, so none is broken)"
scripts/bench.sh --benchmark_min_time=0.01 >build/bench-smoke.log
