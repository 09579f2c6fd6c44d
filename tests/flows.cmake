# Whole-game flows: fribb3-replay --boot runs the program from its first line
# on a script (tests/flows/NAME.script) in a working directory that starts
# with the user files of tests/flows/NAME.before/ (if any). The final line must
# equal NAME.expected and the user files left behind must equal those of
# NAME.after/ (a file missing there must not be left at all).
set(FRIBB3_FLOWS_SRC ${CMAKE_CURRENT_LIST_DIR}/flows)
file(GLOB FRIBB3_FLOW_SCRIPTS CONFIGURE_DEPENDS ${FRIBB3_FLOWS_SRC}/*.script)
foreach(script IN LISTS FRIBB3_FLOW_SCRIPTS)
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME flow_${name}
    COMMAND ${CMAKE_COMMAND}
      -DREPLAY=$<TARGET_FILE:fribb3-replay>
      -DDATA=${CMAKE_BINARY_DIR}/data
      -DFLOW=${FRIBB3_FLOWS_SRC}/${name}
      -DWORKDIR=${CMAKE_BINARY_DIR}/tests/flows/${name}
      -P ${FRIBB3_FLOWS_SRC}/check_flow.cmake)
  set_tests_properties(flow_${name} PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy"
    LABELS "replay;flow")
endforeach()

# A disk that takes no bytes at all: a flow that writes user files must end
# the same way, leaving the prepared files exactly as they were.
add_test(NAME flow_intro_on_a_full_disk
  COMMAND ${CMAKE_COMMAND}
    -DREPLAY=$<TARGET_FILE:fribb3-replay>
    -DDATA=${CMAKE_BINARY_DIR}/data
    -DFLOW=${FRIBB3_FLOWS_SRC}/intro
    -DWORKDIR=${CMAKE_BINARY_DIR}/tests/flows/intro_full_disk
    -DFULL_DISK=1
    -P ${FRIBB3_FLOWS_SRC}/check_flow.cmake)
set_tests_properties(flow_intro_on_a_full_disk PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy"
  LABELS "replay;flow")
