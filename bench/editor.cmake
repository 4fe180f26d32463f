if(BUILD_GUI)
    add_executable(bench_editor ${CMAKE_CURRENT_LIST_DIR}/bench_editor.cpp ${CMAKE_CURRENT_LIST_DIR}/BenchSupport.cpp
        ${CMAKE_CURRENT_LIST_DIR}/BenchUiSupport.cpp)
    target_link_libraries(bench_editor PRIVATE editor_gui project_warnings)
    target_include_directories(bench_editor PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()

if(BUILD_GUI)
    add_executable(bench_open ${CMAKE_CURRENT_LIST_DIR}/bench_open.cpp ${CMAKE_CURRENT_LIST_DIR}/BenchSupport.cpp)
    target_link_libraries(bench_open PRIVATE editor_gui project_warnings)
    target_include_directories(bench_open PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()

if(BUILD_GUI)
    add_executable(bench_find ${CMAKE_CURRENT_LIST_DIR}/bench_find.cpp ${CMAKE_CURRENT_LIST_DIR}/BenchSupport.cpp
        ${CMAKE_CURRENT_LIST_DIR}/BenchUiSupport.cpp)
    target_link_libraries(bench_find PRIVATE editor_gui project_warnings)
    target_include_directories(bench_find PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()
