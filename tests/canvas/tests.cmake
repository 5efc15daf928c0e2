# The panels' drawing on cairo image surfaces, read back pixel by pixel.

add_executable(canvas_tests
  ${CMAKE_CURRENT_LIST_DIR}/PixelSurface.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CanvasTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IndicatorTests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PanelTests.cpp
)
target_link_libraries(canvas_tests PRIVATE korva_canvas GTest::gtest_main)
gtest_discover_tests(canvas_tests
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
  DISCOVERY_TIMEOUT 30)
