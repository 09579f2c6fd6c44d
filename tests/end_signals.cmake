# SIGTERM, SIGINT and SIGHUP in every kind of screen: the game ends within a second, in order,
# with exit code 128 + the signal, every user file old or whole (tests/end_signals_test.sh).
add_test(NAME end_signals
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/end_signals_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/flows)
set_tests_properties(end_signals PROPERTIES ENVIRONMENT "${FRIBB3_TEST_TIMING_ENV}")
fribb3_test_timeout(end_signals 600)
