wendaro_add_test(NAME test_endpoints
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/endpoints_test.cpp
                 LIBS shared)
