# Entries of sound.zda: every recipe NAME.sfx in this folder becomes NAME.wav through sfxsynth.
set(FRIBB3_SOUND_NAMES klonk krack aj blubb jipie chew knirk tada trdoor boink bat klack splash)
file(MAKE_DIRECTORY ${FRIBB3_CONTENT_OUT}/sound)
foreach(name IN LISTS FRIBB3_SOUND_NAMES)
  set(recipe ${CMAKE_CURRENT_SOURCE_DIR}/sound/${name}.sfx)
  set(wav ${FRIBB3_CONTENT_OUT}/sound/${name}.wav)
  add_custom_command(OUTPUT ${wav}
    COMMAND sfxsynth ${recipe} ${wav}
    DEPENDS sfxsynth ${recipe}
    COMMENT "Synthesising ${name}.wav"
    VERBATIM)
  list(APPEND FRIBB3_sound_ENTRIES ${wav})
endforeach()
