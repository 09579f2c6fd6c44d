#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from ./build (arguments go to the game).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
cd build && exec ./fribb3 "$@"
