# The XML wrapper and the two readers built on it, one test program each. The
# sample files they read are in tests/data/catalogue.
foreach(reader IN ITEMS xml cat_id_parser mt_mgr category_mgr)
  wendaro_add_test(NAME test_${reader}
                   SOURCES ${CMAKE_CURRENT_LIST_DIR}/${reader}_test.cpp
                   LIBS catalogue)
  target_compile_definitions(test_${reader}
                             PRIVATE WENDARO_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data/catalogue")
endforeach()
