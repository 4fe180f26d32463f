add_executable(bench_edit ${CMAKE_CURRENT_LIST_DIR}/bench_edit.cpp ${CMAKE_CURRENT_LIST_DIR}/BenchSupport.cpp)
target_link_libraries(bench_edit PRIVATE chdb_core project_warnings)
target_include_directories(bench_edit PRIVATE ${CMAKE_CURRENT_LIST_DIR})
