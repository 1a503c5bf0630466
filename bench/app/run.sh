#!/usr/bin/env bash
# Builds the browsing, import, mark-all and batch export benchmarks optimised and runs them through
# the real main window (off screen), a page of the thumbnail manager and stepping through HEIC
# photos. They need djpeg (libjpeg-turbo-progs), vipsthumbnail (libvips-tools), heif-convert
# (libheif-examples) and ImageMagick's convert
# for the comparisons.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/bench-app
bench/build-targets.sh "$build" browse_bench import_bench maintenance_bench thumbnail_bench heic_bench export_bench
"$build/bench/app/browse_bench"
"$build/bench/app/import_bench" "$@"
"$build/bench/app/maintenance_bench"
"$build/bench/app/thumbnail_bench"
"$build/bench/app/heic_bench"
"$build/bench/app/export_bench"
