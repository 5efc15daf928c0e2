# The configuration block and the integer-text rule: pure functions, so they
# run outside the sandbox.
add_executable(block_tests
  ${CMAKE_CURRENT_LIST_DIR}/IntegerTextTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FieldTablesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EncoderTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PropertyTest.cpp
)
target_link_libraries(block_tests PRIVATE korva_tracker GTest::gtest_main)
gtest_discover_tests(block_tests TEST_PREFIX "block.")
