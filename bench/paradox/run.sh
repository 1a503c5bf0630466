#!/usr/bin/env bash
# Builds the Paradox benchmark optimised and runs it; it prints its figures and their ratios.
# Usage: bench/paradox/run.sh [--pictures N] [--records N] [--rounds N] [--dir FOLDER]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/bench-paradox
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKADRIX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target paradox_bench >/dev/null
exec "$build/bench/paradox/paradox_bench" "$@"
