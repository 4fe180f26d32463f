// The real boot.exe against the simulated board on a pseudo-terminal.
#include "ChildProcess.h"
#include "SimulatedBoard.h"
#include "boottool/MachineTable.h"
#include "support/TempDir.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace boottool {

namespace {

constexpr int kRunLimitMs = 30000;

std::string Progress(int first, int last)
{
    std::string text;
    char step[16];
    for (int number = first; number <= last; ++number) {
        std::snprintf(step, sizeof step, "\b\b\b%02d%%", number);
        text += step;
    }
    return text;
}

std::string Text(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::string MachineImageText(const char* name)
{
    const MachineImage* entry = FindMachine(name);
    return entry ? std::string(entry->image.begin(), entry->image.end()) : std::string();
}

class EndToEndTest : public ::testing::Test
{
protected:
    // Runs boot.exe with the board's device and the given arguments.
    ChildResult Run(SimulatedBoard& board, std::vector<std::string> args, int limitMs = kRunLimitMs)
    {
        std::vector<std::string> argv{BOOT_EXE_PATH, "-m", "kv4410-dvbs-2201", "-d", board.DevicePath()};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunChild(argv, limitMs, dir.Path());
    }

    TempDir dir;
};

TEST_F(EndToEndTest, FlashEraseAllAfterTheLoad)
{
    SimulatedBoard board;
    board.PowerOn(200);
    const ChildResult result = Run(board, {"-c", "flash", "eraseall"});
    const BoardRecord record = board.Stop();
    EXPECT_EQ(result.status, 0) << result.merged;
    EXPECT_EQ(record.commands, (std::vector<std::string>{"flash eraseall"}));
    EXPECT_TRUE(record.imageSumOk);
    EXPECT_TRUE(Text(record.image) == MachineImageText("kv4410-dvbs-2201"));
    EXPECT_EQ(result.output,
              "Found serial: " + board.DevicePath()
                  + "\nwait ROM request... please power on or restart the board...\n"
                    "\nwrite size 7680 byte .... end\n"
                    "data transmit ok.\n"
                    "\r\nKV loader 1.0 (simulated)\r\n"
                    "\r\nerase all flash... done\r\n");
    EXPECT_EQ(result.errors, "");
}

TEST_F(EndToEndTest, SerialDownOfAQuotedPathWithABlank)
{
    std::string data;
    for (int i = 0; i < 250; ++i) {
        data += static_cast<char>(255 - i);
    }
    const std::string file = dir.Write("my fw.bin", data);
    SimulatedBoard board;
    board.PowerOn();
    // The front-end's file argument arrives with its double quotes.
    const ChildResult result = Run(board, {"-c", "serialdown", "0x00010000", "\"" + file + "\""});
    const BoardRecord record = board.Stop();
    EXPECT_EQ(result.status, 0) << result.merged;
    EXPECT_EQ(record.commands, (std::vector<std::string>{"serialdown 0x00010000 250"}));
    ASSERT_EQ(record.serialData.size(), 1u);
    EXPECT_TRUE(record.serialData[0] == data);
    EXPECT_NE(result.output.find("\nstart to send data to stb board, please wait 0s.\n" + Progress(0, 83)
                                 + "\b\b\b100%\nsend all ok. unit = 3, count = 250.\n"),
              std::string::npos)
        << result.output;
}

TEST_F(EndToEndTest, MissingSerialDownFileEndsTheRunBeforeSendingIt)
{
    SimulatedBoard board;
    board.PowerOn();
    const ChildResult result = Run(board, {"-c", "serialdown", "0x10000", "missing.bin"});
    const BoardRecord record = board.Stop();
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(record.commands.empty());
    EXPECT_NE(result.output.find("file missing.bin not find, please check.\n"), std::string::npos) << result.output;
}

TEST_F(EndToEndTest, TwoCommandsSeparatedBySemicolon)
{
    SimulatedBoard board;
    board.PowerOn();
    const ChildResult result
        = Run(board, {"-c", "flash", "erase", "0x001e0000", "0x00020000;", "flash", "eraseall", ";"});
    const BoardRecord record = board.Stop();
    EXPECT_EQ(result.status, 0) << result.merged;
    EXPECT_EQ(record.commands, (std::vector<std::string>{"flash erase 0x001e0000 0x00020000", "flash eraseall"}));
}

TEST_F(EndToEndTest, RomAnswersErrorOnceAndTheImageGoesAgain)
{
    BoardScript script;
    script.romErrorsFirst = 1;
    SimulatedBoard board(script);
    board.PowerOn();
    const ChildResult result = Run(board, {"-b", "/nonexistent/loader.bin", "-m", "kv4400", "-c", "flash", "eraseall"});
    const BoardRecord record = board.Stop();
    EXPECT_EQ(result.status, 0) << result.merged;
    EXPECT_EQ(record.imageTransfers, 2);
    EXPECT_TRUE(Text(record.image) == MachineImageText("kv4400"));
    EXPECT_NE(result.output.find("\nwrite size 6144 byte ... end\ndata transmit error, try agin ...\n"
                                 "\nwrite size 6144 byte ... end\ndata transmit ok.\n"),
              std::string::npos)
        << result.output;
}

TEST_F(EndToEndTest, BootLoaderFromAFileAndAPromptAfterABrokenStart)
{
    const std::string loader = dir.Write("loader.bin", std::string(5000, 'L'));
    BoardScript script;
    script.promptNoise = "b"; // the loader prints "bboot> "
    SimulatedBoard board(script);
    board.PowerOn();
    const ChildResult result = Run(board, {"-b", loader, "-c", "flash", "eraseall"});
    const BoardRecord record = board.Stop();
    EXPECT_EQ(result.status, 0) << result.merged;
    EXPECT_EQ(Text(record.image), std::string(5000, 'L'));
    EXPECT_EQ(record.commands, (std::vector<std::string>{"flash eraseall"}));
}

TEST_F(EndToEndTest, SerialDumpWritesTheFile)
{
    SimulatedBoard board;
    board.PowerOn();
    const ChildResult result = Run(board, {"-c", "serialdump", "0x00140000", "0x3e8", "dump.bin"});
    board.Stop();
    EXPECT_EQ(result.status, 0) << result.merged;
    EXPECT_TRUE(Text(ReadFileBytes(dir.File("dump.bin"))) == SimulatedBoard::DumpPattern(1000));
    EXPECT_NE(result.output.find("\nrecv all ok. unit = 11, count = 1000. will write to file dump.bin\n"),
              std::string::npos)
        << result.output;
}

TEST_F(EndToEndTest, NetDownFileIsFetchedByTheBoard)
{
    std::string data;
    for (int i = 0; i < 3000; ++i) {
        data += static_cast<char>(i % 253);
    }
    const std::string file = dir.Write("app image.bin", data);
    SimulatedBoard board;
    board.PowerOn();
    const ChildResult result = Run(board, {"-p", "127.0.0.1", "-c", "netdown", "0", "\"" + file + "\""});
    const BoardRecord record = board.Stop();
    EXPECT_EQ(result.status, 0) << result.merged;
    EXPECT_EQ(record.commands,
              (std::vector<std::string>{
                  "config ip 127.0.0.2", "config tftpport 2000", "partition download 0 127.0.0.1 \"" + file + "\""}));
    ASSERT_EQ(record.tftpFiles.size(), 1u);
    EXPECT_TRUE(record.tftpFiles[0] == data) << record.tftpFiles[0].size();
}

TEST_F(EndToEndTest, NetDownWhileTheTftpPortIsTaken)
{
    const int sock = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(2000);
    ASSERT_EQ(bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    SimulatedBoard board;
    dir.Write("a.bin", "firmware"); // a file that is there: only the port is in the way
    const ChildResult result = Run(board, {"-p", "127.0.0.1", "-c", "netdown", "0", "a.bin"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.errors.find("tftp server: udp port 2000 not available"), std::string::npos) << result.merged;
    // Commands that need no TFTP still run, with a warning.
    SimulatedBoard serialOnly;
    serialOnly.PowerOn();
    const ChildResult erase = Run(serialOnly, {"-c", "flash", "eraseall"});
    close(sock);
    EXPECT_EQ(erase.status, 0) << erase.merged;
    EXPECT_EQ(erase.output.rfind("warning: tftp server not started: udp port 2000 not available", 0), 0u)
        << erase.output;
    EXPECT_EQ(serialOnly.Stop().commands, (std::vector<std::string>{"flash eraseall"}));
}

TEST_F(EndToEndTest, WaitMessageIsVisibleBeforeTheBoardAnswers)
{
    SimulatedBoard board; // never powered on; the tool is killed while it waits
    const ChildResult result = Run(board, {"-c", "flash", "eraseall"}, 3000);
    EXPECT_TRUE(result.timedOut);
    EXPECT_EQ(result.output,
              "Found serial: " + board.DevicePath()
                  + "\nwait ROM request... please power on or restart the board...\n");
}

TEST_F(EndToEndTest, CommandLineFailures)
{
    struct Case
    {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string output;
        std::string errorsStart;
    };
    const std::vector<Case> cases = {
        {"version", {"-v"}, 0, "boot version:v2.4  --20140306\n", ""},
        {"usage", {"-h"}, 0, "", "Usage: boot [-m <machine>]"},
        {"no argument", {}, 1, "", "Usage: boot [-m <machine>]"},
        {"unknown option", {"-z"}, 1, "", "boot: unknown option -z\nUsage: boot"},
        {"bad device name", {"-d", "ttyS0", "-c", "x"}, 1, "", "error: open serial dev name is ttyS0\n"},
        {"device that does not open",
         {"-d", "/dev/nonexistent-tty", "-c", "x"},
         1,
         "",
         "open serial /dev/nonexistent-tty failed, please check.\n"},
        {"bad pc address",
         {"-p", "pc.local", "-c", "x"},
         1,
         "",
         "error: pc ip pc.local is not an IPv4 address, please check.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> argv{BOOT_EXE_PATH};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const ChildResult result = RunChild(argv, kRunLimitMs, dir.Path());
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.output, c.output);
        EXPECT_EQ(result.errors.rfind(c.errorsStart, 0), 0u) << result.errors;
    }
}

TEST_F(EndToEndTest, UnknownMachineOrAFolderAsLoader)
{
    for (const std::string& machine : {std::string("kv9999"), dir.Path()}) {
        SCOPED_TRACE(machine);
        SimulatedBoard board;
        const ChildResult result
            = RunChild({BOOT_EXE_PATH, "-m", machine, "-d", board.DevicePath(), "-c", "x"}, kRunLimitMs, dir.Path());
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.output,
                  "Found serial: " + board.DevicePath() + "\ncan't find file " + machine
                      + ", please check whether it really exists or not.\n");
    }
}

} // namespace

} // namespace boottool
