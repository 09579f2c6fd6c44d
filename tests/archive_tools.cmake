# The archive tests run the packer and the archive fuzz target as programs.
add_dependencies(fribb3_tests zdapack archive_fuzz)
target_compile_definitions(fribb3_tests PRIVATE
  FRIBB3_ZDAPACK_EXE="$<TARGET_FILE:zdapack>"
  FRIBB3_ARCHIVE_FUZZ_EXE="$<TARGET_FILE:archive_fuzz>")
