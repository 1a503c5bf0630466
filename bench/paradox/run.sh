#!/usr/bin/env bash
# Builds the Paradox benchmark optimised and runs it; it prints its figures and their ratios.
# Usage: bench/paradox/run.sh [--pictures N] [--records N] [--rounds N] [--dir FOLDER]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/bench-paradox
bench/build-targets.sh "$build" paradox_bench
exec "$build/bench/paradox/paradox_bench" "$@"
