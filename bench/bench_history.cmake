# Loading a 400-day "history.txt" and computing the week heat map; recording one tick (bench/bench_history.cpp).
quintor_add_bench(bench_history ${CMAKE_CURRENT_SOURCE_DIR}/bench_history.cpp)
target_link_libraries(bench_history PRIVATE quintor_history quintor_simcontent)
