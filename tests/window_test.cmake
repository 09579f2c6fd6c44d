# Real-window test: each display mode under a private Xvfb server (skipped without Xvfb).
add_test(NAME window_modes
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/window_test.sh $<TARGET_FILE:fribb3> ${CMAKE_BINARY_DIR})
set_tests_properties(window_modes PROPERTIES
  SKIP_RETURN_CODE 77
  ENVIRONMENT "${FRIBB3_TEST_TIMING_ENV}")
fribb3_test_timeout(window_modes 240)

# Full screen on desktops of today's sizes under a window manager: the picture measured in
# screenshots of each display choice (skipped without Xvfb, openbox or ImageMagick).
add_test(NAME fullscreen_pictures
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/fullscreen_test.sh $<TARGET_FILE:fribb3> ${CMAKE_BINARY_DIR})
set_tests_properties(fullscreen_pictures PROPERTIES
  SKIP_RETURN_CODE 77
  ENVIRONMENT "${FRIBB3_TEST_TIMING_ENV}")
fribb3_test_timeout(fullscreen_pictures 900)
