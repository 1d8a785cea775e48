# The parser benchmark: a program, not a test. Run it with `make bench-parser`.
add_executable(bench_parser ${CMAKE_CURRENT_LIST_DIR}/parser_bench.cpp)
target_link_libraries(bench_parser PRIVATE catalogue test_support)
