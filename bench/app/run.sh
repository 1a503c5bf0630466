#!/usr/bin/env bash
# Builds the browsing benchmark optimised and runs it through the real main window
# (off screen). It needs djpeg (libjpeg-turbo-progs) for the comparison.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/bench-app
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKADRIX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target browse_bench >/dev/null
exec "$build/bench/app/browse_bench" "$@"
