# The serial line to the tracker: device, lock files, line attributes, port listing.
target_sources(korva_tracker PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TBlockSerial.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SerialLock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SerialLineAttrs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SerialPorts.cpp
)
