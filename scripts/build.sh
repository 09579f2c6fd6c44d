#!/usr/bin/env bash
# Configures and builds the game, its tools, the data archives, tests and benchmarks in ./build.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build -j "$(nproc)"
