# The mapping-table and category-list download jobs against the local
# catalogue service. The registry lock: the mapping table's address is the
# machine's MappingURL value.
wendaro_add_test(NAME test_download_jobs
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/download_jobs_test.cpp
                 LIBS catalogue catalogue_service_client test_support shlwapi
                 LOCKS registry
                 FIXTURES catalogue_service)
target_compile_definitions(test_download_jobs PRIVATE WENDARO_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data/catalogue")
