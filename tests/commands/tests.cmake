# The tracker's commands: their bytes and pauses on a recording line and
# clock, and the real pause; pure code, so it runs outside the sandbox.
add_executable(commands_tests
  ${CMAKE_CURRENT_LIST_DIR}/SequenceTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RunnerTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GpsSentenceTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PauseTests.cpp
)
target_include_directories(commands_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../block)
target_link_libraries(commands_tests PRIVATE korva_tracker GTest::gtest_main)
gtest_discover_tests(commands_tests TEST_PREFIX "commands.")

# The commands on the black-box harness's recording pty, inside the
# sandbox's private /dev and /var/lock.
add_executable(commands_pty_tests
  ${CMAKE_CURRENT_LIST_DIR}/PtyCommandTests.cpp
)
target_include_directories(commands_pty_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/../block)
target_link_libraries(commands_pty_tests PRIVATE korva_tracker korva_test_support korva_blackbox korva_sandboxed_main)
add_test(NAME commands_pty_tests COMMAND ${KORVA_SANDBOX} $<TARGET_FILE:commands_pty_tests>)
set_tests_properties(commands_pty_tests PROPERTIES TIMEOUT 120)
