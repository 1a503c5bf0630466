#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded number of inputs,
# starting from the seed corpus the test suite wrote (build/release/fuzz-corpus/<target>).
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${KADRIX_FUZZ_RUNS:-20000}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

for fuzzer in build/fuzz/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer" | sed 's/^fuzz_//')
  seeds=build/release/fuzz-corpus/$name
  work=build/fuzz/corpus/$name
  mkdir -p "$work" "$seeds"
  echo "== fuzzing $name ($runs runs)"
  "$fuzzer" -runs="$runs" -max_len=262144 -timeout=10 -rss_limit_mb=2048 "$work" "$seeds"
done
