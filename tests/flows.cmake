# Whole-game flows: fribb3-replay --boot runs the program from its first line
# on a script (tests/flows/NAME.script) in a working directory that starts
# with the user files of tests/flows/NAME.before/ (if any). The final line must
# equal NAME.expected and the user files left behind must equal those of
# NAME.after/ (a file missing there must not be left at all).
set(FRIBB3_FLOWS_SRC ${CMAKE_CURRENT_LIST_DIR}/flows)
set(FRIBB3_FLOWS_OUT ${CMAKE_BINARY_DIR}/tests/flows)

# The flows play small stages of their own, so a change to the game's stage
# maps does not change them: a title stage and one short playable stage as
# stages 1..10.
set(FRIBB3_FLOWS_DATA ${FRIBB3_FLOWS_OUT}/data)
set(FRIBB3_FLOW_STAGES 00:${FRIBB3_FLOWS_SRC}/stages/title.txt)
foreach(number 01 02 03 04 05 06 07 08 09 10)
  list(APPEND FRIBB3_FLOW_STAGES ${number}:${FRIBB3_FLOWS_SRC}/stages/quick.txt)
endforeach()
fribb3_test_data(flow_data ${FRIBB3_FLOWS_OUT} "the flow tests'" ${FRIBB3_FLOW_STAGES})
add_dependencies(fribb3_tests flow_data)
file(GLOB FRIBB3_FLOW_SCRIPTS CONFIGURE_DEPENDS ${FRIBB3_FLOWS_SRC}/*.script)
foreach(script IN LISTS FRIBB3_FLOW_SCRIPTS)
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME flow_${name}
    COMMAND ${CMAKE_COMMAND}
      -DREPLAY=$<TARGET_FILE:fribb3-replay>
      -DDATA=${FRIBB3_FLOWS_DATA}
      -DFLOW=${FRIBB3_FLOWS_SRC}/${name}
      -DWORKDIR=${FRIBB3_FLOWS_OUT}/work/${name}
      -P ${FRIBB3_FLOWS_SRC}/check_flow.cmake)
  set_tests_properties(flow_${name} PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy"
    LABELS "replay;flow")
endforeach()

# A disk that takes no bytes at all: a flow that writes user files must end
# the same way, leaving the prepared files exactly as they were.
add_test(NAME flow_name_entry_on_a_full_disk
  COMMAND ${CMAKE_COMMAND}
    -DREPLAY=$<TARGET_FILE:fribb3-replay>
    -DDATA=${FRIBB3_FLOWS_DATA}
    -DFLOW=${FRIBB3_FLOWS_SRC}/name_entry
    -DWORKDIR=${FRIBB3_FLOWS_OUT}/work/name_entry_full_disk
    -DFULL_DISK=1
    -P ${FRIBB3_FLOWS_SRC}/check_flow.cmake)
set_tests_properties(flow_name_entry_on_a_full_disk PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy"
  LABELS "replay;flow")

# The game killed at many points while it writes each user file: what is left on disk
# is always the old file or the new one. LIMITS are the file sizes at which a run is
# killed; EXTRA a folder of user files put in place besides NAME.before/.
function(fribb3_killed_writes_test name limits extra)
  add_test(NAME flow_${name}_killed_while_writing
    COMMAND ${CMAKE_COMMAND}
      -DREPLAY=$<TARGET_FILE:fribb3-replay>
      -DDATA=${FRIBB3_FLOWS_DATA}
      -DFLOW=${FRIBB3_FLOWS_SRC}/${name}
      -DWORKDIR=${FRIBB3_FLOWS_OUT}/work/${name}_killed
      "-DLIMITS=${limits}"
      -DEXTRA=${extra}
      -P ${FRIBB3_FLOWS_SRC}/check_killed_writes.cmake)
  set_tests_properties(flow_${name}_killed_while_writing PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy"
    LABELS "replay;flow")
endfunction()
# The savegame (4 bytes) of a finished stage, then the hiscores (160) of a name entry.
fribb3_killed_writes_test(name_entry "0;1;2;3;4;5;17;64;100;159;160" "")
# The configuration (394 bytes) RESET writes, with a hiscore file in place so it comes first.
fribb3_killed_writes_test(options_reset "0;1;2;60;200;393;394" ${FRIBB3_FLOWS_SRC}/name_entry.before)
