# Entries of sound.zda: every recipe NAME.sfx in this folder becomes NAME.wav through sfxsynth.
set(FRIBB3_SOUND_NAMES klonk krack aj blubb jipie chew knirk tada trdoor boink bat klack splash)
file(MAKE_DIRECTORY ${FRIBB3_CONTENT_OUT}/sound)
foreach(name IN LISTS FRIBB3_SOUND_NAMES)
  set(recipe ${CMAKE_CURRENT_SOURCE_DIR}/sound/${name}.sfx)
  set(wav ${FRIBB3_CONTENT_OUT}/sound/${name}.wav)
  fribb3_compile(sfxsynth ${recipe} ${wav} "Synthesising ${name}.wav" FRIBB3_sound_ENTRIES)
endforeach()
