#!/bin/sh
# Copies the pictures of docs/ from what the smoke test leaves in
# BUILD_DIR/artifacts (ctest -R window_smoke): the window at its smallest and
# filling a 1024 x 768 screen, light and dark, at scale 1 and 2; the window
# and the about box as the test saw them.
#   docs/make-screenshots.sh [BUILD_DIR]
set -eu
artifacts=${1:-build}/artifacts
docs=$(dirname "$0")
for name in small-light small-dark maximized-light maximized-dark; do
  cp "$artifacts/probex-$name-scale1.png" "$artifacts/probex-$name-scale2.png" "$docs/"
done
cp "$artifacts/probex-window-scale1.png" "$docs/probex-window.png"
cp "$artifacts/probex-about-scale1.png" "$docs/probex-about.png"
