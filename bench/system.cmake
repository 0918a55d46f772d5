# System benchmarks: the dispatch of one reply, one readout tick in the core and with the
# measurement page's widgets. Included from bench/CMakeLists.txt; build in Release:
#   cmake --preset bench && cmake --build --preset bench --target system_bench
#   build/bench/bench/system_bench
add_executable(system_bench ${CMAKE_CURRENT_LIST_DIR}/system_bench.cpp)
if(TARGET karvo_qt)
  target_link_libraries(system_bench PRIVATE karvo_qt benchmark::benchmark)
  target_compile_definitions(system_bench PRIVATE KARVO_BENCH_WIDGETS=1)
else()
  target_link_libraries(system_bench PRIVATE karvo_core benchmark::benchmark)
endif()
