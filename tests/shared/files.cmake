wendaro_add_test(NAME test_files
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/files_test.cpp
                 LIBS shared)
