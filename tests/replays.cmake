# Replay tests: small test maps compiled at build time, each script played by
# fribb3-replay and judged by its final line (digest included) against a
# checked-in expected line (tests/replays/NAME.expected). To regenerate the
# expected lines on purpose, see tests/replays/README.md.
set(FRIBB3_REPLAY_SRC ${CMAKE_CURRENT_LIST_DIR}/replays)
set(FRIBB3_REPLAY_OUT ${CMAKE_BINARY_DIR}/tests/replays)
file(MAKE_DIRECTORY ${FRIBB3_REPLAY_OUT})

# Every text map here, compiled with the stage map compiler.
file(GLOB FRIBB3_REPLAY_MAPS CONFIGURE_DEPENDS ${FRIBB3_REPLAY_SRC}/*.txt)
set(FRIBB3_REPLAY_BINS)
foreach(src IN LISTS FRIBB3_REPLAY_MAPS)
  get_filename_component(name ${src} NAME_WE)
  set(out ${FRIBB3_REPLAY_OUT}/${name}.bin)
  fribb3_compile(fribb3-mapc ${src} ${out} "Compiling test map ${name}" FRIBB3_REPLAY_BINS)
endforeach()

# A data directory whose maps archive holds test maps as stages 0 to 8, so
# what only playable stages have (pause, the HUD, skipping waits with start) and
# the session's flow between stages can be played on maps made for them.
set(FRIBB3_REPLAY_DATA ${FRIBB3_REPLAY_OUT}/data)
set(FRIBB3_REPLAY_STAGES)
foreach(pair IN ITEMS "00:title" "01:rings" "02:drown" "03:push" "04:head" "05:hazards" "06:ride" "07:actors" "08:fall")
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 number)
  list(GET pair 1 name)
  list(APPEND FRIBB3_REPLAY_STAGES ${number}:${FRIBB3_REPLAY_SRC}/${name}.txt)
endforeach()
fribb3_test_data(replay_data ${FRIBB3_REPLAY_OUT} "the replay tests'" ${FRIBB3_REPLAY_STAGES})

add_custom_target(replay_maps ALL DEPENDS ${FRIBB3_REPLAY_BINS})
add_dependencies(fribb3_tests fribb3-replay replay_maps replay_data)

# One golden test per script. NAME.script plays the map NAME.txt as test mode
# does, unless a line "#args ..." in the script gives the options itself, @DATA@
# standing for the test data directory above.
file(GLOB FRIBB3_REPLAY_SCRIPTS CONFIGURE_DEPENDS ${FRIBB3_REPLAY_SRC}/*.script)
foreach(script IN LISTS FRIBB3_REPLAY_SCRIPTS)
  get_filename_component(name ${script} NAME_WE)
  file(STRINGS ${script} args REGEX "^#args ")
  if(args)
    string(REGEX REPLACE "^#args +" "" args "${args}")
    string(REPLACE "@DATA@" ${FRIBB3_REPLAY_DATA} args "${args}")
    separate_arguments(args UNIX_COMMAND "${args}")
  else()
    set(args --map ${FRIBB3_REPLAY_OUT}/${name}.bin)
  endif()
  add_test(NAME replay_${name}
    COMMAND ${CMAKE_COMMAND}
      -DREPLAY=$<TARGET_FILE:fribb3-replay>
      "-DARGS=${args}"
      -DSCRIPT=${script}
      -DEXPECTED=${FRIBB3_REPLAY_SRC}/${name}.expected
      -P ${FRIBB3_REPLAY_SRC}/check_replay.cmake)
  set_tests_properties(replay_${name} PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy"
    LABELS replay)
endforeach()

# Every stage of the maps archive is finished by its script in content/maps.
add_test(NAME replay_stages_finish
  COMMAND ${CMAKE_COMMAND}
    -DREPLAY=$<TARGET_FILE:fribb3-replay>
    -DDATA=${CMAKE_BINARY_DIR}/data
    -DMAPS=${CMAKE_SOURCE_DIR}/content/maps
    -P ${FRIBB3_REPLAY_SRC}/check_stage_finishes.cmake)
set_tests_properties(replay_stages_finish PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy"
  LABELS replay)

# The stage table in the repository is the one the stage checker made from the maps.
add_test(NAME stages_table_current
  COMMAND ${CMAKE_COMMAND} -E compare_files ${CMAKE_BINARY_DIR}/content-out/maps/STAGES.md
    ${CMAKE_SOURCE_DIR}/content/maps/STAGES.md)
