# Replay tests: small test maps compiled at build time, each played by
# fribb3-replay from its script and judged by the final line against a
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

# A data directory whose maps archive holds test maps as playable stages
# (stage 1: timeout, stage 2: drown), so the HUD, which only playable stages
# show, can be checked on maps made for it. The other archives are the game's.
set(FRIBB3_REPLAY_DATA ${FRIBB3_REPLAY_OUT}/data)
file(MAKE_DIRECTORY ${FRIBB3_REPLAY_DATA} ${FRIBB3_REPLAY_OUT}/stages)
set(FRIBB3_REPLAY_STAGES)
foreach(pair IN ITEMS "01:timeout" "02:drown")
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 number)
  list(GET pair 1 name)
  set(out ${FRIBB3_REPLAY_OUT}/stages/fribb3${number}.bin)
  fribb3_compile(fribb3-mapc ${FRIBB3_REPLAY_SRC}/${name}.txt ${out} "Compiling test stage ${name}"
    FRIBB3_REPLAY_STAGES)
endforeach()
add_custom_command(OUTPUT ${FRIBB3_REPLAY_DATA}/maps.zda
  COMMAND zdapack ${FRIBB3_REPLAY_DATA}/maps.zda ${FRIBB3_REPLAY_STAGES}
  DEPENDS zdapack ${FRIBB3_REPLAY_STAGES}
  COMMENT "Packing the test stages"
  VERBATIM)
set(FRIBB3_REPLAY_LINKS)
foreach(archive gfx music sound)
  add_custom_command(OUTPUT ${FRIBB3_REPLAY_DATA}/${archive}.zda
    COMMAND ${CMAKE_COMMAND} -E create_symlink ${CMAKE_BINARY_DIR}/data/${archive}.zda
            ${FRIBB3_REPLAY_DATA}/${archive}.zda
    VERBATIM)
  list(APPEND FRIBB3_REPLAY_LINKS ${FRIBB3_REPLAY_DATA}/${archive}.zda)
endforeach()

add_custom_target(replay_maps ALL DEPENDS ${FRIBB3_REPLAY_BINS} ${FRIBB3_REPLAY_DATA}/maps.zda ${FRIBB3_REPLAY_LINKS})
add_dependencies(replay_maps data)
add_dependencies(fribb3_tests fribb3-replay replay_maps)

# One golden test per test map that has a script.
foreach(src IN LISTS FRIBB3_REPLAY_MAPS)
  get_filename_component(name ${src} NAME_WE)
  if(EXISTS ${FRIBB3_REPLAY_SRC}/${name}.script)
    add_test(NAME replay_${name}
      COMMAND ${CMAKE_COMMAND}
        -DREPLAY=$<TARGET_FILE:fribb3-replay>
        "-DARGS=--map;${FRIBB3_REPLAY_OUT}/${name}.bin"
        -DSCRIPT=${FRIBB3_REPLAY_SRC}/${name}.script
        -DEXPECTED=${FRIBB3_REPLAY_SRC}/${name}.expected
        -P ${FRIBB3_REPLAY_SRC}/check_replay.cmake)
    set_tests_properties(replay_${name} PROPERTIES
      ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy"
      LABELS replay)
  endif()
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
