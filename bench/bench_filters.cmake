# A refresh's work on 1,000 simulated games with and without 50 active filters (bench/bench_filters.cpp).
quintor_add_bench(bench_filters ${CMAKE_CURRENT_SOURCE_DIR}/bench_filters.cpp)
target_link_libraries(bench_filters PRIVATE quintor_filters quintor_refresh quintor_simcontent)
