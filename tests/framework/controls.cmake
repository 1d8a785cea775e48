wendaro_add_test(NAME test_framework_controls
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/controls_test.cpp
                 LIBS framework)
