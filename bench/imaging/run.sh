#!/usr/bin/env bash
# Builds the codec benchmark (optimised, in its own build folder) and runs it: the album's JPEG
# decoding and encoding next to djpeg/cjpeg on the same 24-megapixel photo, ratios at the end.
# Then five effects of the effects window next to ImageMagick's convert on a 24-megapixel photo.
# Usage: bench/imaging/run.sh [benchmark options]   (KADRIX_BENCH_BUILD sets the build folder)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${KADRIX_BENCH_BUILD:-$root/build/bench-imaging}

"$root/bench/build-targets.sh" "$build" imaging_bench effects_bench
# Interleaved repetitions: other work on the machine then weighs on both sides alike.
"$build/bench/imaging/imaging_bench" --benchmark_enable_random_interleaving=true "$@"
"$build/bench/imaging/effects_bench"
