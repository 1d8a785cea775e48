wendaro_add_test(NAME test_update_due
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/update_due_test.cpp
                         ${CMAKE_CURRENT_LIST_DIR}/picture_name_test.cpp
                 LIBS catalogue LOCKS registry)

# The real program's "/update" run against the local catalogue service. The
# registry lock: MappingURL, MTABLE_UPDATE and the pictures-ready events.
wendaro_add_test(NAME test_update_run
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/update_run_test.cpp
                 LIBS catalogue catalogue_service_client test_support
                 LOCKS registry TIMEOUT 300
                 FIXTURES catalogue_service)
add_dependencies(test_update_run wendaro)

# The worker in process: stop requests, OLE on its thread, a picture without address.
wendaro_add_test(NAME test_update_worker
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/update_test.cpp
                 LIBS catalogue catalogue_service_client test_support
                 LOCKS registry
                 FIXTURES catalogue_service)
