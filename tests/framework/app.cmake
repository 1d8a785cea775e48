wendaro_add_test(NAME test_framework_app
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_test.cpp
                 LIBS framework)
