# The XML wrapper and the two readers built on it. The sample files they read
# are in tests/data/catalogue.
set(catalogue_test_data ${CMAKE_SOURCE_DIR}/tests/data/catalogue)

wendaro_add_test(NAME test_xml
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/xml_test.cpp
                 LIBS catalogue)
target_compile_definitions(test_xml PRIVATE WENDARO_TEST_DATA="${catalogue_test_data}")

wendaro_add_test(NAME test_cat_id_parser
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/cat_id_parser_test.cpp
                 LIBS catalogue)
target_compile_definitions(test_cat_id_parser PRIVATE WENDARO_TEST_DATA="${catalogue_test_data}")

wendaro_add_test(NAME test_mt_mgr
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/mt_mgr_test.cpp
                 LIBS catalogue)
target_compile_definitions(test_mt_mgr PRIVATE WENDARO_TEST_DATA="${catalogue_test_data}")

wendaro_add_test(NAME test_category_mgr
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/category_mgr_test.cpp
                 LIBS catalogue)
target_compile_definitions(test_category_mgr PRIVATE WENDARO_TEST_DATA="${catalogue_test_data}")
