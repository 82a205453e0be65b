# The notice board's choice of notices from a large notice file (bench/bench_noticeboard.cpp).
quintor_add_bench(bench_noticeboard ${CMAKE_CURRENT_SOURCE_DIR}/bench_noticeboard.cpp)
target_link_libraries(bench_noticeboard PRIVATE quintor_refresh)
