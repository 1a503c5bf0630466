#!/usr/bin/env bash
# Builds the table-handle benchmark optimised and runs it.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/bench-data
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKADRIX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target data_bench >/dev/null
exec "$build/bench/data/data_bench" "$@"
