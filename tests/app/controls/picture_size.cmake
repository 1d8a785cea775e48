# The size a stored picture declares, and the prompt's bound on it.
wendaro_add_test(NAME test_picture_size
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/picture_size_test.cpp
  LIBS app_controls gdiplus)
