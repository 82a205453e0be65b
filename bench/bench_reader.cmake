# The reference list reader on simulated league replies (bench/bench_reader.cpp).
quintor_add_bench(bench_reader ${CMAKE_CURRENT_SOURCE_DIR}/bench_reader.cpp)
target_link_libraries(bench_reader PRIVATE quintor_reference quintor_simcontent)
