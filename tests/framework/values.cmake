wendaro_add_test(NAME test_framework_values
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/values_test.cpp
                 LIBS framework)
