#!/bin/sh
# Two starts of the real program by one user: the second shows the first
# window and ends, so that no two windows keep one log; after the first has
# crashed (kill -9) a new start takes its place.  Offscreen, in a network
# namespace of its own with only the loopback device (skipped, exit 77,
# where none can be made), with its own data folders.
#   single_instance.sh PROBEX
set -eu
probex=$1
if ! unshare -n sh -c 'ip link set lo up' 2>/dev/null; then
  echo "SKIPPED: cannot make a network namespace with only the loopback device" >&2
  exit 77
fi
home=$(mktemp -d)
trap 'kill -9 $first $third 2>/dev/null || true; rm -rf "$home"' EXIT
first= third=
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
  XDG_CACHE_HOME="$home/cache" XDG_STATE_HOME="$home/state"
# Starts "$@" in the background in a network namespace of its own with only
# the loopback device up; $! is then the program's own process.
offline_background() { exec unshare -n sh -c 'ip link set lo up && exec "$@"' sh "$@"; }
# In a sanitizer build, leaks of the system's D-Bus library are not ours.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(dirname "$0")/lsan.supp"
lock="$home/data/Probex/probex.lock"

# Waits up to 10 s for the file $1.
await() {
  for _ in $(seq 100); do [ -e "$1" ] && return 0; sleep 0.1; done
  echo "no $1" >&2
  exit 1
}

(offline_background "$probex") & first=$!
await "$lock"
# The second start ends by itself, at once, with success.
timeout 10 unshare -n sh -c 'ip link set lo up && exec "$@"' sh "$probex" || { echo "the second start did not hand over to the first" >&2; exit 1; }
kill -0 "$first" || { echo "the first window is gone" >&2; exit 1; }

kill -9 "$first"; wait "$first" 2>/dev/null || true
(offline_background "$probex") & third=$!
sleep 2
kill -0 "$third" || { echo "a start after a crash did not take the crashed window's place" >&2; exit 1; }
echo "ok"
