# The panels' drawing: a crisp cairo canvas and what the panels and lamps
# look like on it. Free of GTK, so it can be tested on image surfaces.
find_package(PkgConfig REQUIRED)
if(NOT TARGET PkgConfig::CAIRO)
  # GLOBAL: the tests link this from their own directory.
  pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET GLOBAL cairo)
endif()

add_library(korva_canvas STATIC
  ${CMAKE_CURRENT_LIST_DIR}/TCanvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PanelPainting.cpp)
target_include_directories(korva_canvas PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(korva_canvas PUBLIC PkgConfig::CAIRO m)
