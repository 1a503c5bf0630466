#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded number of inputs and at
# most a bounded time, starting from the seed corpus the test suite wrote
# (build/release/fuzz-corpus/<target>). An input that takes more than the memory limits or
# the time limit fails the run, so decoders that give in to hostile input are caught.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${KADRIX_FUZZ_RUNS:-20000}
seconds=${KADRIX_FUZZ_SECONDS:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

for fuzzer in build/fuzz/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer" | sed 's/^fuzz_//')
  seeds=build/release/fuzz-corpus/$name
  work=build/fuzz/corpus/$name
  mkdir -p "$work" "$seeds"
  echo "== fuzzing $name ($runs runs, at most $seconds s)"
  "$fuzzer" -runs="$runs" -max_total_time="$seconds" -max_len=262144 \
    -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 "$work" "$seeds"
done
