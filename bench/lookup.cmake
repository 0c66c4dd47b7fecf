# Time of the look-up's clicks on the largest directory: bench_lookup (Google Benchmark).
find_package(benchmark QUIET)
if(benchmark_FOUND)
    add_executable(bench_lookup ${CMAKE_CURRENT_LIST_DIR}/lookup_bench.cpp)
    target_link_libraries(bench_lookup PRIVATE zelkav_window zelkav_lookup zelkav_output
                          zelkav_directory_generator Qt6::Test benchmark::benchmark zelkav_warnings)
else()
    message(STATUS "Google Benchmark not found: bench_lookup is not built")
endif()
