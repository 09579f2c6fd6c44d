# Real-window test: each display mode under a private Xvfb server (skipped without Xvfb).
add_test(NAME window_modes
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/window_test.sh $<TARGET_FILE:fribb3> ${CMAKE_BINARY_DIR})
set_tests_properties(window_modes PROPERTIES
  SKIP_RETURN_CODE 77
  TIMEOUT 240)
