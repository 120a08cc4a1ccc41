#!/usr/bin/env bash
# Configures and builds into build/ (or $PROBEX_BUILD_DIR) with the options given.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${PROBEX_BUILD_DIR:-build}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > "$dir.configure.log" 2>&1 \
  || { cat "$dir.configure.log"; exit 1; }
cmake --build "$dir" -j"$(nproc)"
