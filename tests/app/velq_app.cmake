wendaro_add_test(NAME test_velq_app SOURCES ${CMAKE_CURRENT_LIST_DIR}/velq_app_test.cpp
                 LIBS app_core LOCKS registry)
add_dependencies(test_velq_app wendaro)
