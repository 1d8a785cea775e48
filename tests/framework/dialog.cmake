wendaro_add_test(NAME test_framework_dialog
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/dialog_test.cpp ${CMAKE_CURRENT_LIST_DIR}/dialog_test.rc
                 LIBS framework
                 LOCKS desktop)
