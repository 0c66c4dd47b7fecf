# How long filling a list with the most entries a directory holds takes.
add_executable(bench_sorted_list ${CMAKE_CURRENT_LIST_DIR}/sorted_list_bench.cpp)
target_link_libraries(bench_sorted_list PRIVATE zelkav_window zelkav_lookup Qt6::Test zelkav_warnings)
