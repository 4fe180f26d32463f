# XML engine and workbook layer against pugixml (the peer is linked by the benchmark only).
find_package(pugixml REQUIRED)
add_executable(bench_xml bench_xml.cpp)
target_link_libraries(bench_xml PRIVATE chdb_core pugixml::pugixml project_warnings)
