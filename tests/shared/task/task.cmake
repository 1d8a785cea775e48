wendaro_add_test(NAME test_task_thread SOURCES ${CMAKE_CURRENT_LIST_DIR}/thread_test.cpp
                 LIBS shared_task)
wendaro_add_test(NAME test_task_log SOURCES ${CMAKE_CURRENT_LIST_DIR}/log_test.cpp
                 LIBS shared_task LOCKS registry)
wendaro_add_test(NAME test_picture_watcher SOURCES ${CMAKE_CURRENT_LIST_DIR}/picture_watcher_test.cpp
                 LIBS shared_task NO_MAIN)
wendaro_add_test(NAME test_open_with SOURCES ${CMAKE_CURRENT_LIST_DIR}/open_with_test.cpp
                 LIBS shared_task LOCKS desktop)
