#!/usr/bin/env bash
# Sets up, builds and runs every test: the optimised build's test suite, then a bounded
# fuzz run of the file parsers. Usage: scripts/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release -j"$(nproc)" --timeout 600

bash scripts/fuzz.sh
