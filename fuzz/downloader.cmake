# Kestrun_boot's readers of outside bytes: config.ini and the tool's output. Their sources need no Qt.
set(DOWNLOADER_FUZZ_DIR ${PROJECT_SOURCE_DIR}/src/downloader/core)
add_fuzzer(segment_table fuzz_segment_table.cpp
    ${DOWNLOADER_FUZZ_DIR}/ProfileFile.cpp ${DOWNLOADER_FUZZ_DIR}/SegmentTableFile.cpp
    ${DOWNLOADER_FUZZ_DIR}/ConfigFile.cpp)
add_fuzzer(tool_output fuzz_tool_output.cpp ${DOWNLOADER_FUZZ_DIR}/OutputText.cpp ${DOWNLOADER_FUZZ_DIR}/ProgressTracker.cpp
    ${DOWNLOADER_FUZZ_DIR}/WinCommandLine.cpp ${DOWNLOADER_FUZZ_DIR}/InetAddress.cpp)
