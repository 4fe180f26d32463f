# Kestrun_boot: the output area under a flood of progress lines, against the literal edit-per-piece procedure.
if(BUILD_GUI)
    add_executable(bench_downloader_flood_tool ${CMAKE_CURRENT_LIST_DIR}/bench_downloader_flood_tool.cpp)
    target_link_libraries(bench_downloader_flood_tool PRIVATE project_warnings)
    add_executable(bench_downloader_output ${CMAKE_CURRENT_LIST_DIR}/bench_downloader_output.cpp)
    target_link_libraries(bench_downloader_output PRIVATE downloader_gui project_warnings)
    target_compile_definitions(bench_downloader_output PRIVATE
        FLOOD_TOOL_PATH="$<TARGET_FILE:bench_downloader_flood_tool>")
    add_dependencies(bench_downloader_output bench_downloader_flood_tool)
endif()
