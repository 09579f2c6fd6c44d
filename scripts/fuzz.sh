#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# ./build-fuzz and runs each on its corpus: the text-made seeds in fuzz/corpus/<target>/ plus the
# files the normal build made in ./build (maps, modules, pictures, sounds, archives).
#   scripts/fuzz.sh [SECONDS_PER_TARGET [TARGET...]]      (default: 30 seconds, every target)
# New inputs found go to build-fuzz/corpus/<target>/, findings to build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for f in fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFRIBB3_LIBFUZZER=ON -DFRIBB3_TESTS=OFF -DFRIBB3_BENCH=OFF > /dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}"

# Seeds the normal build leaves behind, by target.
seeds_from_build() {
  case "$1" in
    map_play_fuzz) echo build/content-out/maps build/tests/replays ;;
    module_fuzz) echo build/content-out/music ;;
    bitmap_fuzz) echo build/content-out/gfx ;;
    wav_fuzz) echo build/content-out/sound ;;
    archive_fuzz) echo build/data ;;
  esac
}

mkdir -p build-fuzz/findings
status=0
for t in "${targets[@]}"; do
  out=build-fuzz/corpus/$t
  mkdir -p "$out"
  dirs=("$out")
  [ -d "fuzz/corpus/$t" ] && dirs+=("fuzz/corpus/$t")
  for d in $(seeds_from_build "$t"); do
    # Only the files themselves: libFuzzer reads every regular file of a folder.
    [ -d "$d" ] && dirs+=("$d")
  done
  echo "== $t: ${seconds}s"
  if ! "build-fuzz/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=400000 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$t-" "${dirs[@]}" 2>&1 |
      grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)|ERROR|SUMMARY|^==' ; then
    :
  fi
  if ls build-fuzz/findings/"$t"-* > /dev/null 2>&1; then
    echo "$t: findings in build-fuzz/findings/"
    status=1
  fi
done
exit $status
