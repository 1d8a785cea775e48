# Brings its own main: the test starts a copy of itself to see the program's
# folder from a known place.
wendaro_add_test(NAME test_paths
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/paths_test.cpp
                 LIBS shared
                 NO_MAIN)
