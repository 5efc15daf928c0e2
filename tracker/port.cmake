# The port the window talks to the tracker through: its state, the port
# list's rows and how a failure is worded.
target_sources(korva_tracker PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TPortState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PortList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PortErrorText.cpp
)
