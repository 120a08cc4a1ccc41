#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs every test through
# ctest.  Exits non-zero on any failure.
#   ./test.sh              the normal build
#   ./test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer, in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

options=()
if [ "${1:-}" = "--sanitize" ]; then
  export PROBEX_BUILD_DIR=build-sanitize
  options+=(-DPROBEX_SANITIZE=ON -DPROBEX_BUILD_BENCH=OFF)
fi
./scripts/build.sh "${options[@]}"
# Widget tests run on Qt's offscreen platform; the smoke test starts its own Xvfb.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${PROBEX_BUILD_DIR:-build}" --output-on-failure -j"$(nproc)" --timeout 600
