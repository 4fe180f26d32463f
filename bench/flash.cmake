add_executable(bench_flash ${CMAKE_CURRENT_LIST_DIR}/bench_flash.cpp ${CMAKE_CURRENT_LIST_DIR}/BenchSupport.cpp)
target_link_libraries(bench_flash PRIVATE chdb_core project_warnings)
target_include_directories(bench_flash PRIVATE ${CMAKE_CURRENT_LIST_DIR})
