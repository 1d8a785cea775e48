wendaro_add_test(NAME test_http_file
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/http_file_test.cpp
                         ${CMAKE_CURRENT_LIST_DIR}/http_file_control_test.cpp
                 LIBS catalogue catalogue_service_client wininet user32
                 FIXTURES catalogue_service)
