# The Open-As prompt in this process: layout, texts, choices and carousel at
# 96 DPI, and again in prefixes at 120 and 144 DPI (dpi_prefix.sh). The test
# executable carries the program's resources and stands in for the programs
# the prompt starts (fake_programs.h).
set(open_as_dir ${CMAKE_CURRENT_LIST_DIR})
wendaro_add_test(NAME test_open_as_dlg NO_MAIN
  SOURCES ${open_as_dir}/dialog_test_main.cpp ${open_as_dir}/open_as_dlg_test.cpp
          ${open_as_dir}/carousel_test.cpp ${open_as_dir}/open_as_dpi_test.cpp
          $<TARGET_OBJECTS:wendaro_resources>
  LIBS dialog_test_helpers
  LOCKS desktop registry TIMEOUT 240)

foreach(dpi 120 144)
  add_test(NAME test_open_as_dlg_${dpi}dpi
           COMMAND ${open_as_dir}/dpi_prefix.sh ${dpi} $<TARGET_FILE:test_open_as_dlg>
                   --gtest_filter=Dpi${dpi}.*)
  set_tests_properties(test_open_as_dlg_${dpi}dpi PROPERTIES TIMEOUT 300
                       FIXTURES_REQUIRED wine RESOURCE_LOCK desktop
                       ENVIRONMENT "WENDARO_BUILD_DIR=${CMAKE_BINARY_DIR}")
endforeach()

# The real program, driven from outside; its child fetches from the local
# catalogue service.
wendaro_add_test(NAME test_open_as_road NO_MAIN
  SOURCES ${open_as_dir}/dialog_test_main.cpp ${open_as_dir}/open_as_road_test.cpp
  LIBS dialog_test_helpers catalogue_service_client
  LOCKS desktop registry FIXTURES catalogue_service TIMEOUT 240)
target_compile_definitions(test_open_as_road PRIVATE
  WENDARO_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
add_dependencies(test_open_as_road wendaro)
