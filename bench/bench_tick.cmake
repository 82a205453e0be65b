# A whole refresh tick into the real list model, and the event loop's longest stall during a slow request.
if(QUINTOR_BUILD_UI)
  find_package(GTest REQUIRED) # the scripted window stand-ins of tests/support
  quintor_add_bench(bench_tick ${CMAKE_CURRENT_SOURCE_DIR}/bench_tick.cpp)
  target_link_libraries(bench_tick PRIVATE quintor_ui_mainwindow quintor_net_curl quintor_simserver quintor_simcontent GTest::gtest)
endif()
