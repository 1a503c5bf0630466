#!/usr/bin/env bash
# Sets up, builds and starts Kadrix. On the first run it also creates the settings table and
# a sample album, which the program then opens. Usage: scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

build/release/tools/kadrix-setup/kadrix-setup --sample
exec build/release/src/app/kadrix
