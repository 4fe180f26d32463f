add_executable(bench_dbfile ${CMAKE_CURRENT_LIST_DIR}/bench_dbfile.cpp ${CMAKE_CURRENT_LIST_DIR}/BenchSupport.cpp)
target_link_libraries(bench_dbfile PRIVATE chdb_core project_warnings)
target_include_directories(bench_dbfile PRIVATE ${CMAKE_CURRENT_LIST_DIR})
