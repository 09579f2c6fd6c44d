#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need (only the missing ones),
# and any further packages named as arguments.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  libsdl1.2-compat-dev libsdl-mixer1.2-dev libmodplug-dev zlib1g-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool x11-utils openbox imagemagick libgl1-mesa-dri
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
