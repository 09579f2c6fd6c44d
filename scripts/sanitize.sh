#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in ./build-asan and runs the
# whole test suite there, replays included; the first finding fails the run. Leaks that only SDL and
# the system libraries below it can free are listed in tests/lsan.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFRIBB3_SANITIZE=ON -DFRIBB3_BENCH=OFF > /dev/null
cmake --build build-asan -j "$(nproc)"
cd build-asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$PWD/../tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j "$(nproc)" --timeout 600
