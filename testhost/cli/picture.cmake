# The dialog's picture (PNG or PDF) for the command-line host, included from
# testhost/CMakeLists.txt. Drawn with cairo and pango; the Windows test host has
# neither, and its build says that pictures are not available.
if(STATLUME_TARGET_PLATFORM STREQUAL "windows")
  add_library(statlume_dialog_picture STATIC ${CMAKE_CURRENT_LIST_DIR}/dialog_picture_none.cpp)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
  add_library(statlume_dialog_picture STATIC ${CMAKE_CURRENT_LIST_DIR}/dialog_picture_cairo.cpp)
  target_link_libraries(statlume_dialog_picture PRIVATE PkgConfig::PANGOCAIRO)
endif()
target_include_directories(statlume_dialog_picture PUBLIC ${CMAKE_CURRENT_LIST_DIR})
