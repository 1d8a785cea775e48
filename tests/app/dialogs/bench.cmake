# The start-up benchmark of `make bench-prompt` (scripts/bench_prompt.sh):
# built with the tests, run by hand, never by CTest.
set(bench_dir ${CMAKE_CURRENT_LIST_DIR}/bench)
add_executable(minimal_dialog WIN32 ${bench_dir}/minimal_dialog.cpp ${bench_dir}/minimal_dialog.rc)
target_link_options(minimal_dialog PRIVATE -mwindows)
add_executable(prompt_bench ${bench_dir}/prompt_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/prompt_driver.cpp)
target_link_libraries(prompt_bench PRIVATE app_dialogs test_support gdiplus shlwapi advapi32)
target_compile_definitions(prompt_bench PRIVATE WENDARO_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
add_dependencies(prompt_bench wendaro minimal_dialog)
