#!/usr/bin/env bash
# Sets up, builds and starts Kadrix. On the first run it also creates the settings table and
# a sample album, which the program then opens. Usage: scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

build/release/tools/kadrix-setup/kadrix-setup --sample

if [ -x build/release/src/app/kadrix ]; then
  exec build/release/src/app/kadrix
fi
# Until the main window is built, show the sample album's picture table instead.
source_dir="${XDG_DATA_HOME:-$HOME/.local/share}/kadrix/Sample album"
build/release/tools/ptable/ptable dump "$source_dir/Sample.db"
