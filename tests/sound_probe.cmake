# The effect-loading probe: a tiny program the sound tests run as a child process.
add_executable(sound_load_probe ${CMAKE_CURRENT_SOURCE_DIR}/sound_load_probe.cpp)
target_link_libraries(sound_load_probe PRIVATE fribb3lib)
set_target_properties(sound_load_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_dependencies(fribb3_tests sound_load_probe)
