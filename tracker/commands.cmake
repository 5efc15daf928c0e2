# The tracker's commands as data, the runner that sends them and the clock
# that paces them.
target_sources(korva_tracker PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CommandSequence.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TrackerCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommandRunner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MonotonicClock.cpp
)
