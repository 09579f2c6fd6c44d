# Record in a real window under Xvfb, replay headless, compare the final lines (skipped without Xvfb).
add_test(NAME replay_record_then_replay
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/replays/record_test.sh $<TARGET_FILE:fribb3-replay>)
set_tests_properties(replay_record_then_replay PROPERTIES
  SKIP_RETURN_CODE 77
  ENVIRONMENT "${FRIBB3_TEST_TIMING_ENV}"
  LABELS replay)
fribb3_test_timeout(replay_record_then_replay 150)
