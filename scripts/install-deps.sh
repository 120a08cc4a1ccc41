#!/usr/bin/env bash
# Installs, with apt-get, whatever Debian packages the build and the tests
# need and this machine lacks.  Quick when everything is there already.
set -euo pipefail

packages=(
  cmake g++ make
  libgtest-dev libgmock-dev libbenchmark-dev r-mathlib time
  libboost-math-dev libgmp-dev python3-mpmath
  qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core
  libboost-math-dev libgmp-dev nlohmann-json3-dev
  xvfb xauth poppler-utils desktop-file-utils
  iproute2 util-linux
  dpkg-dev file scdoc appstream man-db lintian
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
