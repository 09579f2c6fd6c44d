# Plays every stage's finishing script (content/maps/fribb3NN-finish.replay)
# from the first frame of the stage in the real game and checks that it ends
# at the exit with every ring, in its first attempt (no life lost), within
# 6000 frames, and in as many frames as the stage table (STAGES.md) says.
# -DREPLAY=exe -DDATA=dir -DMAPS=dir
file(GLOB scripts ${MAPS}/fribb3??-finish.replay)
list(LENGTH scripts count)
if(count EQUAL 0)
  message(FATAL_ERROR "no finishing scripts in ${MAPS}")
endif()
file(READ ${MAPS}/STAGES.md table)
foreach(script IN LISTS scripts)
  get_filename_component(name ${script} NAME)
  string(SUBSTRING ${name} 6 2 number)
  math(EXPR stage "${number}")
  execute_process(COMMAND ${REPLAY} --stage ${stage} --data ${DATA} ${script}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  string(REGEX MATCH "final [^\n]*" final "${out}")
  if(NOT rc EQUAL 0 OR NOT final MATCHES "finished=1 .* rings=0 .* attempts=1 ended=finished digest=")
    message(FATAL_ERROR "${name} does not finish stage ${stage} with every ring in one attempt:\n${final}${err}")
  endif()
  string(REGEX MATCH " frame=([0-9]+) " unused "${final}")
  set(frames ${CMAKE_MATCH_1})
  string(REGEX MATCH " lives=([0-9]+) " unused "${final}")
  if(frames GREATER 6000 OR CMAKE_MATCH_1 LESS 6)
    message(FATAL_ERROR "${name}: ${frames} frames (at most 6000) or lives lost:\n${final}")
  endif()
  # The finish frames come before the frames out of sight and the shifted runs.
  if(NOT table MATCHES "\n\\| ${stage} \\|[^\n]*\\| ${frames} \\| [0-9]+ \\| [^|\n]* \\|\n")
    message(FATAL_ERROR "${name} takes ${frames} frames in the game, not what STAGES.md says")
  endif()
endforeach()
message(STATUS "${count} stages finished")
