#!/usr/bin/env bash
# Sets up, builds and runs every test twice: in a normal build and in an
# AddressSanitizer + UndefinedBehaviorSanitizer build, so memory faults fail;
# then the threads test under ThreadSanitizer and every fuzz target for 30
# seconds, both in clang builds.
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

# The threads test alone under ThreadSanitizer: the library and one test
# program, so the third build stays small.
CC=clang CXX=clang++ cmake -S "$top" -B "$top/build-tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELL_TSAN=ON -DVELL_BUILD_BENCH=OFF
cmake --build "$top/build-tsan" -j"$jobs" --target vell_concurrency_test
mkdir -p "$top/build-tsan/tmp"
# GLib's slice allocator recycles memory between threads under its own
# lock, which ThreadSanitizer does not see; plain malloc it does.
G_SLICE=always-malloc TSAN_OPTIONS="halt_on_error=1 suppressions=$top/tests/tsan.supp" TMPDIR="$top/build-tsan/tmp" "$top/build-tsan/tests/vell_concurrency_test"

# Every fuzz target from its corpus, in a clang build with the same
# sanitizers; a crash, leak or hang fails the run and leaves its input in
# build-fuzz/fuzz/artifacts/.
CC=clang CXX=clang++ cmake -S "$top" -B "$top/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELL_SANITIZE=ON -DVELL_BUILD_FUZZ=ON -DVELL_BUILD_TESTS=OFF -DVELL_BUILD_BENCH=OFF
cmake --build "$top/build-fuzz" -j"$jobs"
VELL_FUZZ_JOBS="$jobs" "$top/scripts/fuzz.sh" "$top/build-fuzz" 30
