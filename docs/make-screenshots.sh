#!/bin/sh
# Renders the screenshots of docs/ with probex_drive under Xvfb: the main
# window at its smallest and filling a 1024 x 768 screen, in a light and a
# dark palette, at scale 1 and 2.  The about box and the window as the smoke
# test leaves it come from its artifacts (build/artifacts).
#   docs/make-screenshots.sh [BUILD_DIR]
set -eu
build=${1:-build}
docs=$(dirname "$0")
drive="$build/tests/window/probex_drive"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" QT_QPA_PLATFORM=xcb
for scale in 1 2; do
  for size in small maximized; do
    for palette in light dark; do
      QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 $((1024 * scale))x$((768 * scale))x24 -nolisten tcp" \
        "$drive" --screenshot "$docs/probex-$size-$palette-scale$scale.png" "$size" "$palette"
    done
  done
done
for what in window about; do
  if [ -f "$build/artifacts/probex-$what-scale1.png" ]; then
    cp "$build/artifacts/probex-$what-scale1.png" "$docs/probex-$what.png"
  fi
done
