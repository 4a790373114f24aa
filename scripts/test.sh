#!/usr/bin/env bash
# Builds and runs every test in both builds: Release (build/) and
# AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/). Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DRAVO_TESTS=ON -DRAVO_BENCH=ON >/dev/null
ninja -C build
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAVO_SANITIZE=ON -DRAVO_TESTS=ON >/dev/null
ninja -C build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
echo "All tests passed in both builds."
