# How long filling a list with the most entries a directory holds takes.
add_executable(bench_sorted_list ${CMAKE_CURRENT_LIST_DIR}/sorted_list_bench.cpp)
target_link_libraries(bench_sorted_list PRIVATE zelkav_window zelkav_lookup Qt6::Test zelkav_warnings)

# The compiler's round on the largest directory: bench_import (Google Benchmark).
find_package(benchmark QUIET)
if(benchmark_FOUND)
    add_executable(bench_import ${CMAKE_CURRENT_LIST_DIR}/import_bench.cpp)
    target_link_libraries(bench_import PRIVATE zelkav_window zelkav_output
                          zelkav_directory_generator Qt6::Test benchmark::benchmark zelkav_warnings)
    add_executable(bench_text_display ${CMAKE_CURRENT_LIST_DIR}/text_display_bench.cpp)
    target_link_libraries(bench_text_display PRIVATE zelkav_window zelkav_output Qt6::Test
                          benchmark::benchmark zelkav_warnings)
endif()
