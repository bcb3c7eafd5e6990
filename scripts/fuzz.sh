#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a while from its corpus:
#   scripts/fuzz.sh BUILD_DIR SECONDS [TARGET...]
# The seeds are made anew from the examples and test files; what a target
# finds beyond them is kept in BUILD_DIR/fuzz/corpus/TARGET for the next run.
# A crash, leak, timeout or memory blow-up leaves its input in
# BUILD_DIR/fuzz/artifacts/TARGET/ and makes the script fail. VELL_FUZZ_JOBS
# targets run side by side (1 by default).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
seconds="$2"
shift 2
fuzz="$build/fuzz"
[ -f "$fuzz/targets.txt" ] || { echo "no fuzz build in $build" >&2; exit 2; }

rm -rf "$fuzz/seeds"
"$fuzz/fuzz_seeds" "$top" "$fuzz/seeds"
# The format-table target gets every format's words.
cat "$top"/fuzz/dict/*.dict > "$fuzz/any.dict"
mkdir -p "$fuzz/logs"

run_one() {
  local name="$1" seeds="$2" max_len="$3"
  local dict="$top/fuzz/dict/$seeds.dict"
  [ "$seeds" = any ] && dict="$fuzz/any.dict"
  mkdir -p "$fuzz/corpus/$name" "$fuzz/artifacts/$name" "$fuzz/seeds/$seeds"
  local status=0
  # The database library writes a warning to standard error for every
  # damaged page it meets: closed for the target, the log keeps libFuzzer's
  # lines and the sanitizers' reports only.
  "$fuzz/$name" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -close_fd_mask=2 -dict="$dict" -print_final_stats=1 -artifact_prefix="$fuzz/artifacts/$name/" \
    "$fuzz/corpus/$name" "$fuzz/seeds/$seeds" > "$fuzz/logs/$name.log" 2>&1 || status=$?
  local execs rate cov
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$fuzz/logs/$name.log")"
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$fuzz/logs/$name.log")"
  cov="$(grep -o 'cov: [0-9]*' "$fuzz/logs/$name.log" | tail -1 | cut -d' ' -f2)"
  echo "$status" >> "$fuzz/results"
  if [ "$status" -eq 0 ]; then
    echo "fuzz: $name passed: ${execs:-?} runs, ${rate:-?}/s, coverage ${cov:-?} edges"
  else
    echo "fuzz: $name FAILED (exit $status), see $fuzz/logs/$name.log:"
    grep -E '^==[0-9]+==ERROR|SUMMARY|^artifact_prefix|Test unit written' "$fuzz/logs/$name.log" | head -5
  fi
  return "$status"
}
export -f run_one
export fuzz top seconds

targets=("$@")
list="$(if [ ${#targets[@]} -eq 0 ]; then cat "$fuzz/targets.txt"; else
  for t in "${targets[@]}"; do grep "^$t " "$fuzz/targets.txt"; done; fi)"
rm -f "$fuzz/results"
echo "$list" | xargs -P "${VELL_FUZZ_JOBS:-1}" -L 1 bash -c 'run_one "$@"' _ || true
passed="$(grep -cx 0 "$fuzz/results" || true)"
failed="$(grep -cvx 0 "$fuzz/results" || true)"
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -eq "$(echo "$list" | wc -l)" ]
