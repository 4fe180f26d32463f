// The Windows build of boot.exe, run under wine, against the simulated board: the board's
// pseudo-terminal is a COM port through wine's port mapping, and the TFTP server meets curl and the
// board on the loopback address.
#include "WinePrefix.h"
#include "boottool/ChildProcess.h"
#include "boottool/SimulatedBoard.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace boottool {

namespace {

constexpr int kRunLimitMs = WinePrefix::kRunLimitMs;
constexpr const char* kComPort = "COM7";

std::string Pattern(std::size_t size)
{
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = static_cast<char>(i % 251);
    }
    return data;
}

// A Windows console program's text-mode output, with its line ends as on Linux.
std::string Unix(std::string text)
{
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

class WineEndToEndTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_prefix = std::make_unique<WinePrefix>(); }
    static void TearDownTestSuite() { s_prefix.reset(); }

    void SetUp() override { ASSERT_TRUE(s_prefix->Ready()) << "wine could not set up its prefix"; }

    // boot.exe under wine with the board's COM port and the given arguments, in the test's folder.
    ChildResult Run(SimulatedBoard& board, std::vector<std::string> args)
    {
        EXPECT_TRUE(s_prefix->MapPort(kComPort, board.DevicePath()));
        std::vector<std::string> argv{"wine", WINDOWS_BOOT_EXE, "-m", "kv4410-dvbs-2201", "-d", kComPort};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunChild(argv, kRunLimitMs, dir.Path());
    }

    TempDir dir;
    static std::unique_ptr<WinePrefix> s_prefix;
};

std::unique_ptr<WinePrefix> WineEndToEndTest::s_prefix;

TEST_F(WineEndToEndTest, SerialDownThroughAComPort)
{
    const std::string data = Pattern(20000);
    dir.Write("fw image.bin", data);
    SimulatedBoard board;
    board.PowerOn();
    const ChildResult result = Run(board, {"-c", "serialdown", "0x00010000", "\"fw image.bin\""});
    const BoardRecord record = board.Stop();
    EXPECT_EQ(result.status, 0) << result.merged;
    EXPECT_TRUE(record.imageSumOk);
    EXPECT_EQ(record.commands, (std::vector<std::string>{"serialdown 0x00010000 20000"}));
    ASSERT_EQ(record.serialData.size(), 1u);
    EXPECT_TRUE(record.serialData[0] == data) << record.serialData[0].size();
    const std::string output = Unix(result.output);
    EXPECT_NE(output.find("Found serial: COM7\n"), std::string::npos) << output;
    EXPECT_NE(output.find("\b\b\b100%\nsend all ok. unit = 201, count = 20000.\n"), std::string::npos) << output;
}

TEST_F(WineEndToEndTest, SerialDumpWritesTheWholeFile)
{
    SimulatedBoard board;
    board.PowerOn();
    const ChildResult result = Run(board, {"-c", "serialdump", "0", "3000", "dump.bin"});
    board.Stop();
    EXPECT_EQ(result.status, 0) << result.merged;
    const std::vector<std::uint8_t> dump = ReadFileBytes(dir.File("dump.bin"));
    EXPECT_TRUE(std::string(dump.begin(), dump.end()) == SimulatedBoard::DumpPattern(3000)) << dump.size();
}

TEST_F(WineEndToEndTest, TheBoardAndCurlFetchFromTheTftpServer)
{
    if (!HaveProgram("curl")) {
        GTEST_SKIP() << "curl is not installed";
    }
    const std::string data = Pattern(300000);
    dir.Write("app.bin", data);
    SimulatedBoard board;
    // The board stays quiet for a while: the tool waits for it with its TFTP server up, and curl fetches.
    board.PowerOn(8000);
    auto tool = std::async(std::launch::async, [&] {
        return Run(board, {"-p", "127.0.0.1", "-c", "netdown", "0", "app.bin"});
    });
    const std::string fetched = dir.File("fetched.bin");
    ChildResult curl;
    for (int attempt = 0; attempt < 40; ++attempt) {
        curl = RunChild({"curl", "-sS", "-o", fetched, "tftp://127.0.0.1:2000/app.bin"}, 20000);
        if (curl.status == 0) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(250)); // the server is not up yet
    }
    const ChildResult result = tool.get();
    const BoardRecord record = board.Stop();
    EXPECT_EQ(curl.status, 0) << curl.errors;
    const std::vector<std::uint8_t> got = ReadFileBytes(fetched);
    EXPECT_TRUE(std::string(got.begin(), got.end()) == data) << got.size();
    EXPECT_EQ(result.status, 0) << result.merged;
    ASSERT_EQ(record.tftpFiles.size(), 1u);
    EXPECT_TRUE(record.tftpFiles[0] == data) << record.tftpFiles[0].size();
    EXPECT_NE(Unix(result.output).find("send all ok. count = 300000.\n"), std::string::npos) << result.output;
}

TEST_F(WineEndToEndTest, AMissingFileEndsTheRunBeforeThePowerOn)
{
    SimulatedBoard board;
    board.PowerOn();
    const ChildResult result = Run(board, {"-c", "netdown", "0", "missing.bin"});
    const BoardRecord record = board.Stop();
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(Unix(result.output), "file missing.bin not find, please check.\n");
    EXPECT_EQ(record.imageTransfers, 0);
}

} // namespace

} // namespace boottool
