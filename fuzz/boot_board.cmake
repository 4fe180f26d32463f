# boot.exe's side of the serial line: the boot ROM's answers and the loader's prompt, "~sta~" and
# "~fin~" waits and serialdump data, played through the tests' scripted port.
find_package(Threads REQUIRED)
set(BOARD_SIDE_DIR ${PROJECT_SOURCE_DIR}/src/boottool)
add_fuzzer(boot_board fuzz_boot_board.cpp ${BOARD_SIDE_DIR}/BoardLink.cpp ${BOARD_SIDE_DIR}/BootRom.cpp
    ${BOARD_SIDE_DIR}/CommandRunner.cpp ${BOARD_SIDE_DIR}/CmdParser.cpp ${BOARD_SIDE_DIR}/Console.cpp
    ${BOARD_SIDE_DIR}/NetAddress.cpp ${BOARD_SIDE_DIR}/NumberWord.cpp ${BOARD_SIDE_DIR}/PcAddress.cpp
    ${BOARD_SIDE_DIR}/Port.cpp ${BOARD_SIDE_DIR}/Str2Argv.cpp ${BOARD_SIDE_DIR}/TextMatcher.cpp
    ${BOARD_SIDE_DIR}/UnitProgress.cpp ${BOARD_SIDE_DIR}/UnitTransfer.cpp ${BOARD_SIDE_DIR}/OutputFilePosix.cpp
    ${BOARD_SIDE_DIR}/tftp/TransferTracker.cpp)
target_include_directories(fuzz_boot_board PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests/boottool)
target_link_libraries(fuzz_boot_board PRIVATE platform Threads::Threads)
