# The program's resources linked into a test: templates, bitmaps, animation.
wendaro_add_test(NAME test_resources
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/resources_test.cpp
  LIBS wendaro_resources comctl32 gdi32 user32)
