#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in ./build-asan and runs the
# whole test suite there, replays included; the first finding fails the run. Leaks that only SDL can
# free are listed in tests/lsan.supp. The real-window tests run without the leak check: Mesa, X11 and
# D-Bus keep memory of their own until the process ends, and the headless tests cover the game's.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFRIBB3_SANITIZE=ON -DFRIBB3_BENCH=OFF > /dev/null
cmake --build build-asan -j "$(nproc)"
cd build-asan
# Full stacks at each allocation, so suppressions can name SDL's functions.
leaks="detect_leaks=1:fast_unwind_on_malloc=0"
export LSAN_OPTIONS=suppressions=$PWD/../tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
windows="window_modes|fullscreen_pictures|replay_record_then_replay"
ASAN_OPTIONS="$leaks:detect_stack_use_after_return=1" ctest --output-on-failure --timeout 900 -j "$(nproc)" -E "$windows"
ASAN_OPTIONS="detect_leaks=0" ctest --output-on-failure --timeout 900 -R "$windows"
