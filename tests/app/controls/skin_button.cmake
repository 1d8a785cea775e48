# The skin button and its bitmap table. The button test shows windows and
# reads their pixels; the bitmap test keeps its host hidden.
add_library(skin_button_host STATIC ${CMAKE_CURRENT_LIST_DIR}/skin_host.cpp)
target_link_libraries(skin_button_host PUBLIC framework)

wendaro_add_test(NAME test_skin_button
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/skin_button_test.cpp
  LIBS app_controls skin_button_host wendaro_resources comctl32
  LOCKS desktop)

wendaro_add_test(NAME test_button_bitmaps
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/button_bitmaps_test.cpp
  LIBS app_controls skin_button_host wendaro_resources)
