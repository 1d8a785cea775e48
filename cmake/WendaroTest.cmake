# Test executables run under Wine through the cross-compiling emulator.
#
# wendaro_add_test(NAME name SOURCES ... [LIBS ...] [LOCKS ...] [TIMEOUT s]
#                  [FIXTURES ...] [ARGS ...] [NO_MAIN])
#   LOCKS   : CTest resource locks. Use "registry" for tests that touch the
#             product's registry keys or shared named objects, and "desktop"
#             for tests that show windows.
#   ARGS    : arguments of the test's run, such as a gtest filter.
#   NO_MAIN : the test brings its own main (else tests/support's main runs).
# Every GoogleTest program runs through scripts/gtest-run.sh: it passes only
# when it exited 0 and GoogleTest's summary says it ran to its end.
set(WENDARO_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(WENDARO_GTEST_RUN ${CMAKE_SOURCE_DIR}/scripts/gtest-run.sh)
add_subdirectory(${WENDARO_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE $<IF:$<CXX_COMPILER_ID:MSVC>,/w,-w>)

function(wendaro_add_test)
  cmake_parse_arguments(T "NO_MAIN" "NAME;TIMEOUT" "SOURCES;LIBS;LOCKS;FIXTURES;ARGS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} test_support gtest)
  if(NOT T_NO_MAIN)
    target_link_libraries(${T_NAME} PRIVATE test_support_main)
  endif()
  add_test(NAME ${T_NAME}
           COMMAND ${WENDARO_GTEST_RUN} ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${T_NAME}> ${T_ARGS})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
                       FIXTURES_REQUIRED "wine;${T_FIXTURES}")
  if(T_LOCKS)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
endfunction()

# wendaro_add_dpi_test(test dpi filter [LOCKS ...]) runs the tests of an
# executable made by wendaro_add_test that match the gtest filter again, in a
# prefix of their own whose screen has that DPI (scripts/own_prefix.sh). The
# test is named <test>_<dpi>dpi. Tests of one DPI never overlap: the script
# makes that prefix and restarts its server.
function(wendaro_add_dpi_test test dpi filter)
  cmake_parse_arguments(T "" "" "LOCKS" ${ARGN})
  add_test(NAME ${test}_${dpi}dpi
           COMMAND ${WENDARO_GTEST_RUN} ${CMAKE_SOURCE_DIR}/scripts/own_prefix.sh dpi${dpi} $<TARGET_FILE:${test}>
                   --gtest_filter=${filter})
  set_tests_properties(${test}_${dpi}dpi PROPERTIES TIMEOUT 300
                       FIXTURES_REQUIRED wine RESOURCE_LOCK "wine-prefix-dpi${dpi};${T_LOCKS}"
                       ENVIRONMENT "WENDARO_BUILD_DIR=${CMAKE_BINARY_DIR}")
endfunction()
