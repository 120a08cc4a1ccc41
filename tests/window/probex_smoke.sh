#!/bin/sh
# Smoke test of Probex on a virtual X display (Xvfb, started here through
# xvfb-run):
#   1. the real program starts and its window appears on the screen;
#   2. the real window, started as the program starts it, computes through
#      simulated clicks and key presses, at scale factors 1 and 2.
# Screen grabs go to $PROBEX_ARTIFACTS (default: the third argument) and must
# not be blank.
#   probex_smoke.sh PROBEX PROBEX_DRIVE ARTIFACT_DIR
set -eu
probex=$1
drive=$2
artifacts=${PROBEX_ARTIFACTS:-$3}
mkdir -p "$artifacts"

if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "xvfb-run is missing: install the Debian packages xvfb and xauth" >&2
  exit 1
fi
# The widget tests run offscreen; this one needs the X display.
export QT_QPA_PLATFORM=xcb
# In a sanitizer build, leaks of the system's D-Bus library are not ours.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(dirname "$0")/lsan.supp"
unset QT_SCALE_FACTOR
screen="-screen 0 2048x1536x24 -nolisten tcp"
# An empty Xvfb screen shows two colours; a window with text shows hundreds.
min_colours=100

echo "== probex starts and shows its window"
xvfb-run -a -s "$screen" sh -c '
  "$1" & pid=$!
  status=0
  "$2" --grab-screen "$3/probex-started.png" "$4" 20 || status=1
  if ! kill -0 "$pid" 2>/dev/null; then echo "probex is not running" >&2; status=1; fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit $status
' sh "$probex" "$drive" "$artifacts" "$min_colours"

for scale in 1 2; do
  echo "== computing through simulated input at scale $scale"
  shot="$artifacts/probex-window-scale$scale.png"
  rm -f "$shot"
  QT_SCALE_FACTOR=$scale xvfb-run -a -s "$screen" "$drive" --drive "$shot"
  QT_QPA_PLATFORM=offscreen "$drive" --check-png "$shot" "$min_colours"
done
echo "screenshots in $artifacts"
