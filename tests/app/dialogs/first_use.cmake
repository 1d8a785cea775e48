# The consent dialog and the turned-on notice in this process at 96 DPI, and
# again in prefixes at 120 and 144 DPI (dpi_prefix.sh); the test executable stands in
# for the browser, the system's Open With helper and the prompt's update
# child (fake_programs.h). test_turn_on_off drives the real program.
set(first_use_dir ${CMAKE_CURRENT_LIST_DIR})
wendaro_add_test(NAME test_first_use_dlg NO_MAIN
  SOURCES ${first_use_dir}/dialog_test_main.cpp ${first_use_dir}/first_use_dlg_test.cpp
          ${first_use_dir}/turn_on_dlg_test.cpp ${first_use_dir}/first_use_dpi_test.cpp
          $<TARGET_OBJECTS:wendaro_resources>
  LIBS dialog_test_helpers
  LOCKS desktop registry TIMEOUT 240)

foreach(dpi 120 144)
  add_test(NAME test_first_use_dlg_${dpi}dpi
           COMMAND ${first_use_dir}/dpi_prefix.sh ${dpi} $<TARGET_FILE:test_first_use_dlg>
                   --gtest_filter=FirstUseAt${dpi}.*)
  set_tests_properties(test_first_use_dlg_${dpi}dpi PROPERTIES TIMEOUT 300
                       FIXTURES_REQUIRED wine RESOURCE_LOCK "desktop;registry"
                       ENVIRONMENT "WENDARO_BUILD_DIR=${CMAKE_BINARY_DIR}")
endforeach()

wendaro_add_test(NAME test_turn_on_off NO_MAIN
  SOURCES ${first_use_dir}/dialog_test_main.cpp ${first_use_dir}/turn_on_off_test.cpp
  LIBS dialog_test_helpers
  LOCKS desktop registry TIMEOUT 120)
add_dependencies(test_turn_on_off wendaro)
