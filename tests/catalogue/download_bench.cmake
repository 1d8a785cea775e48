# The download benchmark (make bench-download, scripts/bench_download.sh); a
# program, not a test.
add_executable(bench_download ${CMAKE_CURRENT_LIST_DIR}/download_bench.cpp)
target_link_libraries(bench_download PRIVATE catalogue wininet psapi)
