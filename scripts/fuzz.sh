#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# ./build-fuzz and runs each on its corpus: the text-made seeds in fuzz/corpus/<target>/, the files
# the normal build made in ./build (maps, modules, pictures, sounds, archives) and the user files of
# the game-flow tests. Run it after a normal build.
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

# Seeds for a target, copied into one folder: files the normal build left in ./build and the
# user files the game-flow tests keep in tests/flows.
gather_seeds() {
  local t=$1 dir=build-fuzz/seeds/$1
  rm -rf "$dir"
  mkdir -p "$dir"
  local files=()
  case "$t" in
    map_play_fuzz) files=(build/content-out/maps/*.bin build/tests/replays/*.bin) ;;
    module_fuzz) files=(build/content-out/music/*.mod) ;;
    bitmap_fuzz) files=(build/content-out/gfx/*.bmp) ;;
    wav_fuzz) files=(build/content-out/sound/*.wav) ;;
    archive_fuzz) files=(build/data/maps.zda build/data/sound.zda) ;;
    hiscores_fuzz) files=(tests/flows/*/hiscores.dat) ;;
    savegame_fuzz) files=(tests/flows/*/savegame.dat) ;;
    configuration_fuzz) files=(tests/flows/*/fribb3.cfg) ;;
  esac
  local i=0
  for f in "${files[@]}"; do
    [ -f "$f" ] && cp "$f" "$dir/seed$((i++))"
  done
  echo "$dir"
}

mkdir -p build-fuzz/findings
# Leaks inside system libraries' own code are theirs, not findings of ours.
export LSAN_OPTIONS="suppressions=$PWD/fuzz/library_leaks.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
status=0
for t in "${targets[@]}"; do
  out=build-fuzz/corpus/$t
  mkdir -p "$out"
  dirs=("$out" "$(gather_seeds "$t")")
  [ -d "fuzz/corpus/$t" ] && dirs+=("fuzz/corpus/$t")
  echo "== $t: ${seconds}s"
  if ! "build-fuzz/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=400000 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$t-" "${dirs[@]}" 2>&1 |
      grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+[[:space:]]+DONE)|ERROR|SUMMARY|^==' ; then
    :
  fi
  if ls build-fuzz/findings/"$t"-* > /dev/null 2>&1; then
    echo "$t: findings in build-fuzz/findings/"
    status=1
  fi
done
exit $status
