#!/usr/bin/env bash
# Builds the table-handle benchmark optimised and runs it.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/bench-data
bench/build-targets.sh "$build" data_bench
exec "$build/bench/data/data_bench" "$@"
