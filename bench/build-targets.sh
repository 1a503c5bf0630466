#!/usr/bin/env bash
# Configures an optimised build without the tests in FOLDER and builds the given benchmark
# targets there, quietly unless something fails. Usage: bench/build-targets.sh FOLDER TARGET...
set -euo pipefail
build=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
quietly() {
    local out
    if ! out=$("$@" 2>&1); then
        printf '%s\n' "$out" >&2
        exit 1
    fi
}
quietly cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKADRIX_BUILD_TESTS=OFF
quietly cmake --build "$build" --target "$@"
