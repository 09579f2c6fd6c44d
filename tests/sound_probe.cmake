# The effect-loading probe (a tiny program the sound tests run as a child process) and the synthesiser under test.
add_executable(sound_load_probe ${CMAKE_CURRENT_SOURCE_DIR}/sound_load_probe.cpp)
target_link_libraries(sound_load_probe PRIVATE fribb3lib)
set_target_properties(sound_load_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_dependencies(fribb3_tests sound_load_probe)

# The effect synthesiser is a build-time tool; its parser and renderer are tested in-process.
target_sources(fribb3_tests PRIVATE
  ${CMAKE_SOURCE_DIR}/tools/sfxsynth/sfx_recipe.cpp
  ${CMAKE_SOURCE_DIR}/tools/sfxsynth/sfx_render.cpp)
target_include_directories(fribb3_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/sfxsynth)
target_link_libraries(fribb3_tests PRIVATE fribb3_mixmeasure)
