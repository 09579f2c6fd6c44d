#!/usr/bin/env bash
# Installs what is missing, builds, and packs the game as build/fribb3_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
cd build
rm -f fribb3_*.deb
cpack -G DEB > /dev/null
ls "$PWD"/fribb3_*.deb
