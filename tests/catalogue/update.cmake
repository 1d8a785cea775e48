wendaro_add_test(NAME test_update_due
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/update_due_test.cpp
                         ${CMAKE_CURRENT_LIST_DIR}/picture_name_test.cpp
                 LIBS catalogue LOCKS registry)
