wendaro_add_test(NAME test_framework_values
                 SOURCES ${CMAKE_CURRENT_LIST_DIR}/values_test.cpp
                 LIBS framework)

# Point fonts again on a 120-DPI screen, in the prefix the dialogs' DPI tests
# keep for it (the script that makes it lives with them).
set(dpi_prefix ${CMAKE_SOURCE_DIR}/tests/app/dialogs/dpi_prefix.sh)
if(EXISTS ${dpi_prefix})
  add_test(NAME test_framework_values_120dpi
           COMMAND ${dpi_prefix} 120 $<TARGET_FILE:test_framework_values> --gtest_filter=PointFont.*)
  set_tests_properties(test_framework_values_120dpi PROPERTIES TIMEOUT 300
                       FIXTURES_REQUIRED wine RESOURCE_LOCK desktop
                       ENVIRONMENT "WENDARO_BUILD_DIR=${CMAKE_BINARY_DIR}")
endif()
