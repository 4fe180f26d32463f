# boot.exe readers of outside bytes: command words and TFTP packets. Sources are compiled into each
# target so the fuzzer instruments them.
set(BOOTTOOL_DIR ${PROJECT_SOURCE_DIR}/src/boottool)
add_fuzzer(boot_words fuzz_boot_words.cpp ${BOOTTOOL_DIR}/Str2Argv.cpp ${BOOTTOOL_DIR}/CmdParser.cpp
    ${BOOTTOOL_DIR}/NumberWord.cpp ${BOOTTOOL_DIR}/NetAddress.cpp ${BOOTTOOL_DIR}/Console.cpp
    ${BOOTTOOL_DIR}/TextMatcher.cpp)
target_include_directories(fuzz_boot_words PRIVATE ${PROJECT_SOURCE_DIR}/src)
add_fuzzer(boot_tftp fuzz_boot_tftp.cpp ${BOOTTOOL_DIR}/tftp/TftpPacket.cpp ${BOOTTOOL_DIR}/tftp/TftpServer.cpp
    ${BOOTTOOL_DIR}/tftp/FileSource.cpp ${BOOTTOOL_DIR}/tftp/ProgressPrinter.cpp ${BOOTTOOL_DIR}/UnitProgress.cpp
    ${BOOTTOOL_DIR}/Console.cpp)
target_include_directories(fuzz_boot_tftp PRIVATE ${PROJECT_SOURCE_DIR}/src)
