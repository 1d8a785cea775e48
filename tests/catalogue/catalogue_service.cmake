# The local catalogue service (scripts/catalogue_service): a loopback proxy
# that answers the prefix's WinINet requests from routes the tests write.
#
# It lives for the whole run at one fixed setting: the fixture starts it,
# trusts its test CA in the prefix and makes it the prefix's proxy, and at the
# end turns the proxy off and stops it. Tests never change the proxy setting,
# so any number of them can download at the same time. A test that downloads
# takes FIXTURES catalogue_service, links catalogue_service_client
# (tests/support/catalogue_service.h) and uses hosts of its own (UniqueHost).
find_program(WENDARO_PYTHON NAMES python3 REQUIRED)
set(WENDARO_CATALOGUE_STATE ${CMAKE_BINARY_DIR}/catalogue-service)
set(catalogue_service_script ${CMAKE_SOURCE_DIR}/scripts/catalogue_service/catalogue_service.py)

add_executable(catalogue_prefix ${CMAKE_CURRENT_LIST_DIR}/catalogue_prefix.cpp)
target_link_libraries(catalogue_prefix PRIVATE crypt32 advapi32)

add_library(catalogue_service_client STATIC ${CMAKE_SOURCE_DIR}/tests/support/catalogue_service.cpp)
target_link_libraries(catalogue_service_client PUBLIC test_support)
target_compile_definitions(catalogue_service_client
                           PRIVATE WENDARO_CATALOGUE_STATE="${WENDARO_CATALOGUE_STATE}")

add_test(NAME catalogue_service_start
         COMMAND ${WENDARO_PYTHON} ${catalogue_service_script} start
                 --state ${WENDARO_CATALOGUE_STATE} --lifetime 1800)
add_test(NAME catalogue_proxy_on COMMAND catalogue_prefix on ${WENDARO_CATALOGUE_STATE})
add_test(NAME catalogue_proxy_off COMMAND catalogue_prefix off)
add_test(NAME catalogue_service_stop
         COMMAND ${WENDARO_PYTHON} ${catalogue_service_script} stop --state ${WENDARO_CATALOGUE_STATE})
set_tests_properties(catalogue_service_start catalogue_proxy_on PROPERTIES
                     FIXTURES_SETUP catalogue_service TIMEOUT 60)
set_tests_properties(catalogue_proxy_off catalogue_service_stop PROPERTIES
                     FIXTURES_CLEANUP catalogue_service TIMEOUT 60)
set_tests_properties(catalogue_proxy_on catalogue_proxy_off PROPERTIES FIXTURES_REQUIRED wine)
set_tests_properties(catalogue_proxy_on PROPERTIES DEPENDS catalogue_service_start)
set_tests_properties(catalogue_service_stop PROPERTIES DEPENDS catalogue_proxy_off)
