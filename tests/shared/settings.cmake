wendaro_add_test(NAME test_settings
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_test.cpp
                 LIBS shared
                 LOCKS registry)
