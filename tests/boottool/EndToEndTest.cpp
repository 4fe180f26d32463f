// The real boot.exe against the simulated board on a pseudo-terminal.
#include "ChildProcess.h"
#include "RawTftpClient.h"
#include "SimulatedBoard.h"
#include "boottool/MachineTable.h"
#include "support/TempDir.h"

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <set>
#include <sstream>
#include <sys/socket.h>
#include <thread>
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

std::string Pattern(std::size_t size)
{
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = static_cast<char>(i % 253);
    }
    return data;
}

// Waits until the tool's TFTP server answers on 127.0.0.1:2000 (it refuses a file it does not serve).
bool TftpServerIsUp()
{
    RawTftpClient probe;
    for (int attempt = 0; attempt < 100; ++attempt) {
        probe.Request(2000, "probe");
        if (probe.Receive(50)) {
            return true;
        }
    }
    return false;
}

std::set<std::string> Names(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
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
    // The same on a thread of its own, for a test that acts while the tool runs.
    std::future<ChildResult> RunAsync(SimulatedBoard& board, std::vector<std::string> args, int limitMs = kRunLimitMs)
    {
        return std::async(std::launch::async, [this, &board, args, limitMs] { return Run(board, args, limitMs); });
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

// The loader's prompt comes back after a netdown whatever became of the fetch: a file the board could not
// fetch ends the run with status 1 and the commands after it are not run.
TEST_F(EndToEndTest, ANetDownTheBoardCouldNotFetchFails)
{
    struct Case
    {
        const char* name;
        BoardScript script;
    };
    BoardScript otherFile;
    otherFile.fetchAnother = "other.bin"; // refused: not a file of this download
    BoardScript gaveUp;
    gaveUp.ackBlocks = 2; // the tool's transfer is still waiting for the third acknowledgement
    for (const Case& c : {Case{"the board asked for another file", otherFile}, Case{"the board gave up", gaveUp}}) {
        SCOPED_TRACE(c.name);
        const std::string file = dir.Write("app.bin", Pattern(3000));
        SimulatedBoard board(c.script);
        board.PowerOn();
        const auto start = std::chrono::steady_clock::now();
        const ChildResult result
            = Run(board, {"-p", "127.0.0.1", "-c", "netdown", "0", "\"" + file + "\";", "flash", "eraseall"});
        const BoardRecord record = board.Stop();
        EXPECT_EQ(result.status, 1) << result.merged;
        EXPECT_TRUE(result.output.ends_with("download of " + file + " was not completed, please check.\n"))
            << result.output;
        EXPECT_EQ(record.commands.back(), "partition download 0 127.0.0.1 \"" + file + "\"");
        // Judged after the grace, long before the stalled transfer's retries would have run out.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    }
}

TEST_F(EndToEndTest, ANetDownShowsItsProgress)
{
    const std::string file = dir.Write("app.bin", Pattern(3000));
    SimulatedBoard board;
    board.PowerOn();
    const ChildResult result = Run(board, {"-p", "127.0.0.1", "-c", "netdown", "0", file});
    board.Stop();
    EXPECT_EQ(result.status, 0) << result.merged;
    // The loader's words after its last acknowledgement may come before the tool's last progress.
    std::string output = result.output;
    const std::string loader = "\r\ndownload 3000 bytes\r\n";
    ASSERT_NE(output.find(loader), std::string::npos) << output;
    output.erase(output.find(loader), loader.size());
    const std::string expected = "\nstart to send " + file + " to stb board by tftp, 3000 bytes.\n" + Progress(0, 96)
        + "\b\b\b100%\nsend all ok. count = 3000.\n";
    EXPECT_NE(output.find(expected), std::string::npos) << output;
}

// Everything the run needs from the PC is checked before the user is asked to power on the board.
TEST_F(EndToEndTest, ChecksBeforeThePowerOn)
{
    const std::string file = dir.Write("app.bin", "firmware");
    const std::string missing = dir.File("missing.bin");
    struct Case
    {
        const char* name;
        std::vector<std::string> args;
        std::string message; // all the tool prints
        bool takePort = false;
    };
    const std::vector<Case> cases = {
        {"serialdown of a missing file",
         {"-c", "serialdown", "0x10000", missing},
         "file " + missing + " not find, please check.\n"},
        {"netdown of a missing file",
         {"-p", "127.0.0.1", "-c", "netdown", "0", missing},
         "file " + missing + " not find, please check.\n"},
        {"run of a missing file",
         {"-p", "127.0.0.1", "-c", "run", missing},
         "file " + missing + " not find, please check.\n"},
        {"a folder for a file",
         {"-c", "serialdown", "0", dir.Path()},
         "file " + dir.Path() + " not find, please check.\n"},
        {"the second command's file",
         {"-p", "127.0.0.1", "-c", "flash", "eraseall;", "netdown", "0", missing},
         "file " + missing + " not find, please check.\n"},
        {"a dump into a missing folder",
         {"-c", "serialdump", "0", "16", "none/dump.bin"},
         "can't create file none/dump.bin, please check.\n"},
        {"a dump onto a folder",
         {"-c", "serialdump", "0", "16", dir.Path()},
         "can't create file " + dir.Path() + ", please check.\n"},
        {"a command without its words",
         {"-c", "serialdump", "0", "16"},
         "error: serialdump needs at least 4 words, please check.\n"},
        {"a pc address of another host",
         {"-p", "192.0.2.1", "-c", "netdown", "0", file},
         "tftp server: 192.0.2.1 is not an address of this PC, please check.\n"},
        {"the tftp port in use",
         {"-p", "127.0.0.1", "-c", "netdown", "0", file},
         "tftp server: udp port 2000 not available (Address already in use), please close the other download.\n",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int taken = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in any{};
        any.sin_family = AF_INET;
        any.sin_port = htons(2000);
        ASSERT_TRUE(!c.takePort || bind(taken, reinterpret_cast<const sockaddr*>(&any), sizeof any) == 0);
        SimulatedBoard board;
        board.PowerOn();
        const ChildResult result = Run(board, c.args);
        close(taken);
        const BoardRecord record = board.Stop();
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.merged, c.message);
        EXPECT_EQ(record.imageTransfers, 0);
        EXPECT_TRUE(record.commands.empty());
    }
}

// A client that asks for the file and falls silent holds up neither the board nor the run.
TEST_F(EndToEndTest, ASilentClientDoesNotHoldUpTheBoard)
{
    const std::string data = Pattern(70000);
    const std::string file = dir.Write("app.bin", data);
    SimulatedBoard board;
    board.PowerOn(800);
    std::atomic<bool> holding{false};
    std::atomic<bool> runOver{false};
    std::thread silent([&] {
        RawTftpClient client("127.0.0.3");
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!holding && std::chrono::steady_clock::now() < giveUp) {
            client.Request(2000, file);
            const auto packet = client.Receive(100);
            holding = packet && packet->IsData(1); // and never acknowledged
        }
        while (!runOver) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const ChildResult result = Run(board, {"-p", "127.0.0.1", "-c", "netdown", "0", file});
    const auto took = std::chrono::steady_clock::now() - start;
    runOver = true;
    silent.join();
    const BoardRecord record = board.Stop();
    EXPECT_TRUE(holding);
    EXPECT_EQ(result.status, 0) << result.merged;
    ASSERT_EQ(record.tftpFiles.size(), 1u);
    EXPECT_TRUE(record.tftpFiles[0] == data) << record.tftpFiles[0].size();
    EXPECT_LT(took, std::chrono::seconds(10));
    EXPECT_EQ(result.output.find("timeout exit"), std::string::npos);
}

// 30,000 stray packets while the board loads and fetches: few lines, and the board still gets its file.
TEST_F(EndToEndTest, AFloodOfStrayPacketsDuringANetDown)
{
    constexpr int kPackets = 30000;
    const std::string data = Pattern(20000);
    const std::string file = dir.Write("app.bin", data);
    SimulatedBoard board;
    board.PowerOn(1500); // the flood fills more than a second before the board even loads
    std::atomic<bool> runOver{false};
    std::thread flood([&] {
        RawTftpClient flooder("127.0.0.3");
        for (int sent = 0; sent < kPackets && !runOver; ++sent) {
            flooder.SendTo(2000, {0, 9, 'j', 'u', 'n', 'k'});
            if (sent % 100 == 99) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const ChildResult result = Run(board, {"-p", "127.0.0.1", "-c", "netdown", "0", file});
    const auto seconds
        = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count() + 1;
    runOver = true;
    flood.join();
    const BoardRecord record = board.Stop();
    EXPECT_EQ(result.status, 0) << result.merged.size();
    ASSERT_EQ(record.tftpFiles.size(), 1u);
    EXPECT_TRUE(record.tftpFiles[0] == data) << record.tftpFiles[0].size();
    std::istringstream lines(result.output);
    int detailed = 0;
    int counts = 0;
    for (std::string line; std::getline(lines, line);) {
        detailed += line == "tftp: unknown request opcode 9, ignored." ? 1 : 0;
        counts += line.ends_with(" more stray packets ignored") ? 1 : 0;
    }
    EXPECT_GE(detailed, 1);
    EXPECT_LE(detailed, 10 * seconds);
    EXPECT_GE(counts, 1);
    EXPECT_LE(counts, seconds + 1);
}

// With -p the server listens on the PC's address only; without it, on every address.
TEST_F(EndToEndTest, TheTftpServerListensWhereAsked)
{
    const std::string file = dir.Write("app.bin", "firmware");
    struct Case
    {
        std::vector<std::string> args;
        bool otherAddressFree;
    };
    for (const Case& c :
         {Case{{"-p", "127.0.0.1", "-c", "netdown", "0", file}, true}, Case{{"-c", "flash", "eraseall"}, false}}) {
        SCOPED_TRACE(c.args.front());
        SimulatedBoard board; // never powered on: the tool waits for it
        auto run = RunAsync(board, c.args, 3000);
        ASSERT_TRUE(TftpServerIsUp());
        const int other = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(2000);
        inet_pton(AF_INET, "127.0.0.2", &address.sin_addr);
        EXPECT_EQ(bind(other, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0, c.otherAddressFree);
        close(other);
        EXPECT_TRUE(run.get().timedOut);
    }
}

// The front-end's Cancel kills the tool: a dump cut off leaves the old file or none, never a piece.
TEST_F(EndToEndTest, ACancelledSerialDumpLeavesNoFile)
{
    for (const bool oldFile : {false, true}) {
        SCOPED_TRACE(oldFile ? "an old dump" : "no old dump");
        TempDir folder;
        if (oldFile) {
            folder.Write("dump.bin", "old");
        }
        const std::set<std::string> before = Names(folder.Path());
        BoardScript script;
        script.dumpStallAfter = 300;
        SimulatedBoard board(script);
        board.PowerOn();
        const ChildResult result = RunChild(
            {BOOT_EXE_PATH, "-m", "kv4410", "-d", board.DevicePath(), "-c", "serialdump", "0", "1000", "dump.bin"},
            2000,
            folder.Path());
        board.Stop();
        EXPECT_TRUE(result.timedOut);
        EXPECT_NE(result.output.find("start to recv data from stb board"), std::string::npos) << result.output;
        EXPECT_EQ(Names(folder.Path()), before);
        if (oldFile) {
            EXPECT_EQ(Text(ReadFileBytes(folder.File("dump.bin"))), "old");
        }
    }
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
