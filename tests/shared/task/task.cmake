wendaro_add_test(NAME test_task_thread SOURCES ${CMAKE_CURRENT_LIST_DIR}/thread_test.cpp
                 LIBS shared_task)
wendaro_add_test(NAME test_task_log SOURCES ${CMAKE_CURRENT_LIST_DIR}/log_test.cpp
                 LIBS shared_task LOCKS registry)
