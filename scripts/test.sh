#!/usr/bin/env bash
# Sets up, builds and runs every test twice: in a normal build and in an
# AddressSanitizer + UndefinedBehaviorSanitizer build, so memory faults fail;
# then runs every fuzz target for 30 seconds in a clang build.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
"$top/scripts/setup.sh"
"$top/scripts/check.sh"

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$top/build" -j"$jobs"
ctest --test-dir "$top/build" --output-on-failure -j"$jobs"

cmake -S "$top" -B "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug -DVELL_SANITIZE=ON -DVELL_BUILD_BENCH=OFF
cmake --build "$top/build-asan" -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$top/build-asan" --output-on-failure -j"$jobs"

# Every fuzz target from its corpus, in a clang build with the same
# sanitizers; a crash, leak or hang fails the run and leaves its input in
# build-fuzz/fuzz/artifacts/.
CC=clang CXX=clang++ cmake -S "$top" -B "$top/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELL_SANITIZE=ON -DVELL_BUILD_FUZZ=ON -DVELL_BUILD_TESTS=OFF -DVELL_BUILD_BENCH=OFF
cmake --build "$top/build-fuzz" -j"$jobs"
VELL_FUZZ_JOBS="$jobs" "$top/scripts/fuzz.sh" "$top/build-fuzz" 30
