# Spreadsheet export and import against pugixml building, saving, loading and walking the same workbook.
find_package(pugixml REQUIRED)
add_executable(bench_excel ${CMAKE_CURRENT_LIST_DIR}/bench_excel.cpp)
target_link_libraries(bench_excel PRIVATE chdb_core pugixml::pugixml project_warnings)
