# The settings file on the real file system: line ends, short and long
# files, permissions, links, a full disk. Inside the sandbox, which gives
# each run a temporary home and lets the tests mount a tiny tmpfs.
add_executable(settings_tests
  ${CMAKE_CURRENT_LIST_DIR}/ReadingTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WritingTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LinkTest.cpp
)
target_link_libraries(settings_tests PRIVATE korva_settings korva_file_testing korva_sandboxed_main)
add_test(NAME settings_tests COMMAND ${KORVA_SANDBOX} $<TARGET_FILE:settings_tests>)
set_tests_properties(settings_tests PROPERTIES TIMEOUT 120)
