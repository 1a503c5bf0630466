#!/usr/bin/env bash
# Builds the album-copy benchmark optimised and runs it: a 2 GB album (600 pictures) copied by
# the program and by `cp -r`, each until its bytes are on disk. Needs about 6 GB free in the
# temporary folder. Arguments: [pictures [bytes-per-picture [rounds]]].
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/bench-data
bench/build-targets.sh "$build" albumcopy_bench
exec "$build/bench/data/albumcopy_bench" "$@"
