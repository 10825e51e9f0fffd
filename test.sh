#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: the tests,
# the installed program as a normal user and the Debian package, the same
# tests under the address and undefined-behaviour sanitizers, and the data
# file reader's fuzzer for a bounded time.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

echo "== build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DKVX_BENCH=ON -DKVX_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== installed for a normal user, and the Debian package"
tools/install-check.sh build

echo "== sanitizers"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKVX_SANITIZE=ON -DBUILD_TESTING=ON -DKVX_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== fuzzing the data file reader"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVX_FUZZ=ON \
  -DBUILD_TESTING=OFF -DKVX_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz-reader -j"$jobs"
mkdir -p build-fuzz/corpus
cp tests/data/*.kvx tests/data/*/*.kvx app/config.kvx build-fuzz/corpus/ 2>/dev/null || true
build-fuzz/fuzz-reader -max_total_time="${KVX_FUZZ_SECONDS:-60}" -max_len=65536 -rss_limit_mb=2048 \
  -print_final_stats=1 build-fuzz/corpus 2>&1 | tail -n 15
echo "fuzz: no crash"
