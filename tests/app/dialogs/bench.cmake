# The start-up benchmark of `make bench-prompt` (scripts/bench_prompt.sh):
# built with the tests, run by hand, never by CTest.
set(bench_dir ${CMAKE_CURRENT_LIST_DIR}/bench)
add_executable(minimal_dialog WIN32 ${bench_dir}/minimal_dialog.cpp ${bench_dir}/minimal_dialog.rc)
target_link_options(minimal_dialog PRIVATE -mwindows)
add_executable(prompt_bench ${bench_dir}/prompt_bench.cpp)
target_link_libraries(prompt_bench PRIVATE dialog_test_helpers advapi32)
add_dependencies(prompt_bench wendaro minimal_dialog)
