# Entries of maps.zda: the eleven stage maps fribb300.bin .. fribb310.bin,
# compiled from the text maps here by fribb3-mapc.
set(FRIBB3_MAPS_SRC ${CMAKE_CURRENT_LIST_DIR})
file(MAKE_DIRECTORY ${FRIBB3_CONTENT_OUT}/maps)
foreach(n RANGE 0 10)
  if(n LESS 10)
    set(name fribb30${n})
  else()
    set(name fribb3${n})
  endif()
  set(src ${FRIBB3_MAPS_SRC}/${name}.txt)
  set(out ${FRIBB3_CONTENT_OUT}/maps/${name}.bin)
  fribb3_compile(fribb3-mapc ${src} ${out} "Compiling map ${name}" FRIBB3_maps_ENTRIES)
endforeach()

# Every build checks the stages with fribb3-stagecheck (a broken rule stops it,
# naming file and line) and makes the stage table; the test stages_table_current
# compares it with STAGES.md, and the target stages-table copies it there. It
# also draws the difficulty chart, which stays in the build.
set(FRIBB3_STAGES_TABLE ${FRIBB3_CONTENT_OUT}/maps/STAGES.md)
set(FRIBB3_STAGES_CHART ${FRIBB3_CONTENT_OUT}/maps/difficulty.bmp)
file(GLOB FRIBB3_STAGE_SOURCES CONFIGURE_DEPENDS ${FRIBB3_MAPS_SRC}/fribb3*.txt ${FRIBB3_MAPS_SRC}/fribb3*.replay
  ${CMAKE_SOURCE_DIR}/content/music/*.tune)
add_custom_command(OUTPUT ${FRIBB3_STAGES_TABLE} ${FRIBB3_STAGES_CHART}
  COMMAND fribb3-stagecheck --table ${FRIBB3_STAGES_TABLE} --chart ${FRIBB3_STAGES_CHART} ${FRIBB3_MAPS_SRC}
    ${CMAKE_SOURCE_DIR}/content/music
  DEPENDS fribb3-stagecheck ${FRIBB3_STAGE_SOURCES}
  COMMENT "Checking the stages"
  VERBATIM)
add_custom_target(stagecheck ALL DEPENDS ${FRIBB3_STAGES_TABLE})
add_custom_target(stages-table
  COMMAND ${CMAKE_COMMAND} -E copy ${FRIBB3_STAGES_TABLE} ${FRIBB3_MAPS_SRC}/STAGES.md
  DEPENDS ${FRIBB3_STAGES_TABLE})
