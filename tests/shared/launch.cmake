wendaro_add_test(NAME test_launch SOURCES ${CMAKE_CURRENT_LIST_DIR}/launch_test.cpp
                 LIBS shared LOCKS registry NO_MAIN)
