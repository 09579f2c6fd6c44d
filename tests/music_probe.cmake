# The disk-output music probe: a tiny program the music tests run as a child process.
add_executable(music_disk_probe ${CMAKE_CURRENT_SOURCE_DIR}/music_disk_probe.cpp)
target_link_libraries(music_disk_probe PRIVATE fribb3lib)
set_target_properties(music_disk_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_dependencies(fribb3_tests music_disk_probe)
