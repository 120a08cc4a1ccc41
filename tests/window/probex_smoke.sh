#!/bin/sh
# Smoke test of Probex on a virtual X display (Xvfb, started here through
# xvfb-run):
#   1. the real program, as ./run.sh builds it, starts and its window appears
#      on the screen, its help file beside it;
#   2. the real window, started as the program starts it, computes through
#      simulated clicks and key presses, opens and closes the about box,
#      answers the new-version message and opens the help, at scale factors
#      1 and 2; its version check asks a scripted server on 127.0.0.1.
# Everything runs in a network namespace of its own in which only the
# loopback device is up, so nothing can leave the machine, name look-ups
# included.  Without the right to make one (unshare -n needs root or user
# namespaces) the test is skipped (exit 77), never run with the network.
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
if [ ! -f "$(dirname "$probex")/Probex.html" ]; then
  echo "the help file Probex.html is not beside $probex" >&2
  exit 1
fi
if ! unshare -n sh -c 'ip link set lo up' 2>/dev/null; then
  echo "SKIPPED: cannot make a network namespace with only the loopback device" >&2
  echo "(unshare -n and ip link need root or user namespaces; the smoke test never runs with the network)" >&2
  exit 77
fi
# Runs "$@" in a network namespace of its own with only the loopback device up.
offline() {
  unshare -n sh -c 'ip link set lo up && exec "$@"' sh "$@"
}

# The widget tests run offscreen; this one needs the X display.
export QT_QPA_PLATFORM=xcb
# What the program keeps between runs goes to a folder of this test, never
# to the user's home.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
  XDG_STATE_HOME="$home/state"
# In a sanitizer build, leaks of the system's D-Bus library are not ours.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(dirname "$0")/lsan.supp"
unset QT_SCALE_FACTOR
screen="-screen 0 2048x1536x24 -nolisten tcp"
# An empty Xvfb screen shows two colours; a window with text shows hundreds.
min_colours=100

echo "== probex starts and shows its window"
offline xvfb-run -a -s "$screen" sh -c '
  "$1" & pid=$!
  status=0
  "$2" --grab-screen "$3/probex-started.png" "$4" 20 || status=1
  if ! kill -0 "$pid" 2>/dev/null; then echo "probex is not running" >&2; status=1; fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit $status
' sh "$probex" "$drive" "$artifacts" "$min_colours"

for scale in 1 2; do
  echo "== computing, about box, new-version message and help through simulated input at scale $scale"
  for what in window about message help; do rm -f "$artifacts/probex-$what-scale$scale.png"; done
  QT_SCALE_FACTOR=$scale offline xvfb-run -a -s "$screen" "$drive" --drive "$artifacts" "scale$scale"
  for what in window about message help; do
    QT_QPA_PLATFORM=offscreen "$drive" --check-png "$artifacts/probex-$what-scale$scale.png" "$min_colours"
  done
done
echo "screenshots in $artifacts"
