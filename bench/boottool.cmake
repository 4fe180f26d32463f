# boot.exe benchmarks: TFTP against tftpd-hpa, serial transfer CPU time, idle wait CPU time.
add_executable(bench_boottool bench_boottool.cpp ${PROJECT_SOURCE_DIR}/tests/boottool/ChildProcess.cpp
    ${PROJECT_SOURCE_DIR}/tests/boottool/SimulatedBoard.cpp)
# The simulated board and the child runner are test helpers, included by their path from tests/.
target_include_directories(bench_boottool PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(bench_boottool PRIVATE boottool_core project_warnings)
target_compile_definitions(bench_boottool PRIVATE BOOT_EXE_PATH="$<TARGET_FILE:boot.exe>")
add_dependencies(bench_boottool boot.exe)
