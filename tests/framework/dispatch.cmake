wendaro_add_test(NAME test_framework_dispatch
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/dispatch_test.cpp
                 LIBS framework)
