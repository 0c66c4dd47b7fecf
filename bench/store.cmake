# The directory store: a generator of made-up directories, the sample file's writer, and the
# load and save benchmark of the largest directory.
add_library(zelkav_directory_generator STATIC ${CMAKE_CURRENT_LIST_DIR}/directory_generator.cpp)
target_include_directories(zelkav_directory_generator PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zelkav_directory_generator PUBLIC zelkav_store PRIVATE zelkav_warnings)

add_executable(generate_directory ${CMAKE_CURRENT_LIST_DIR}/generate_directory.cpp)
target_link_libraries(generate_directory PRIVATE zelkav_directory_generator zelkav_warnings)

# Rewrites sample/KAV-Addresses.dat: make_sample <folder>
add_executable(make_sample ${CMAKE_CURRENT_LIST_DIR}/make_sample.cpp)
target_link_libraries(make_sample PRIVATE zelkav_store zelkav_warnings)

find_package(benchmark QUIET)
if(benchmark_FOUND)
    add_executable(bench_store ${CMAKE_CURRENT_LIST_DIR}/store_bench.cpp)
    target_link_libraries(bench_store PRIVATE zelkav_directory_generator benchmark::benchmark
                                              zelkav_warnings)
else()
    message(STATUS "Google Benchmark not found: bench_store is not built")
endif()
