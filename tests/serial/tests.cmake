# The serial line against a pseudo-terminal, inside the sandbox's private
# /dev and /var/lock.
add_executable(serial_tests
  ${CMAKE_CURRENT_LIST_DIR}/LockTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OtherUsersLockTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LineTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PortListTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PortStateTests.cpp
)
target_link_libraries(serial_tests PRIVATE korva_tracker korva_test_support korva_sandboxed_main)
add_test(NAME serial_tests COMMAND ${KORVA_SANDBOX} $<TARGET_FILE:serial_tests>)
set_tests_properties(serial_tests PROPERTIES TIMEOUT 120)
