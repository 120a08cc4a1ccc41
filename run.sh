#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts Probex.
# Without a window system (or before the window is built) the arguments go
# to probex-calc, the command-line calculator:  ./run.sh normal 100 225 130
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh >&2
./scripts/build.sh >&2
if [ $# -gt 0 ] || [ ! -x build/window/probex ]; then
  exec build/cli/probex-calc "$@"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: start Probex under a virtual one with  xvfb-run -a build/window/probex" >&2
  echo "or compute on the command line:  ./run.sh normal 100 225 130  (build/cli/probex-calc --help)" >&2
  exit 1
fi
exec build/window/probex
