#include "boottool/CommandRunner.h"
#include "CaptureConsole.h"
#include "ScriptedPort.h"
#include "boottool/BoardLink.h"
#include "boottool/UnitTransfer.h"
#include "support/TempDir.h"

#include "platform/Sockets.h"
#include <gtest/gtest.h>
#include <thread>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace boottool {

namespace {

std::string Progress(std::initializer_list<int> numbers)
{
    std::string text;
    for (const int number : numbers) {
        char step[16];
        std::snprintf(step, sizeof step, "\b\b\b%02d%%", number);
        text += step;
    }
    return text;
}

std::string ProgressRange(int first, int last)
{
    std::string text;
    for (int number = first; number <= last; ++number) {
        text += Progress({number});
    }
    return text;
}

TEST(UnitTransferTest, CutsIntoUnitsOfAHundredthPlusOne)
{
    struct Case
    {
        std::uint64_t total;
        std::uint64_t unit;
        std::vector<std::uint64_t> sizes; // sizes passed to move, in order (run-length: checked by sum and count)
        std::size_t moves;
        std::string progress;
    };
    const std::vector<Case> cases = {
        {250, 3, {}, 84, ProgressRange(0, 83) + Progress({100})},
        {300, 4, {}, 75, ProgressRange(0, 75) + Progress({100})}, // exact fit: the last unit is empty and not moved
        {99, 1, {}, 99, ProgressRange(0, 99) + Progress({100})},
        {100, 2, {}, 50, ProgressRange(0, 50) + Progress({100})},
        {1, 1, {}, 1, ProgressRange(0, 1) + Progress({100})},
        {0, 1, {}, 0, Progress({0, 100})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        CaptureConsole console;
        std::vector<std::pair<std::uint64_t, std::uint64_t>> moves;
        UnitTotals totals;
        ASSERT_TRUE(MoveInUnits(
            console,
            c.total,
            [&](std::uint64_t offset, std::uint64_t size) {
                moves.emplace_back(offset, size);
                return true;
            },
            totals));
        EXPECT_EQ(totals.unit, c.unit);
        EXPECT_EQ(totals.count, c.total);
        EXPECT_EQ(moves.size(), c.moves);
        std::uint64_t expectedOffset = 0;
        for (const auto& [offset, size] : moves) {
            EXPECT_EQ(offset, expectedOffset);
            EXPECT_LE(size, c.unit);
            expectedOffset += size;
        }
        EXPECT_EQ(console.OutText(), c.progress);
    }
}

TEST(UnitTransferTest, StopsWhenTheLineFails)
{
    CaptureConsole console;
    UnitTotals totals;
    int calls = 0;
    EXPECT_FALSE(MoveInUnits(
        console, 1000, [&](std::uint64_t, std::uint64_t) { return ++calls < 3; }, totals));
    EXPECT_EQ(calls, 3);
}

std::uint32_t Address(const char* text)
{
    in_addr address{};
    EXPECT_TRUE(platform::ReadIpv4(text, address));
    return address.s_addr;
}

class CommandRunnerTest : public ::testing::Test
{
protected:
    CommandRunnerTest()
        : link(port, console)
        , pc("10.0.0.5", [] { return std::nullopt; })
        , runner(link, console, pc, "", transfers, kGraceMs)
    {
        link.SetEcho(true);
    }

    static constexpr int kGraceMs = 300;

    TempDir dir;
    ScriptedPort port;
    CaptureConsole console;
    BoardLink link;
    PcAddress pc;
    TransferTracker transfers;
    CommandRunner runner;
};

TEST_F(CommandRunnerTest, SerialDownOf250BytesGoesInUnitsOf3)
{
    std::string data;
    for (int i = 0; i < 250; ++i) {
        data += static_cast<char>(i);
    }
    const std::string file = dir.Write("fw 1.bin", data);
    port.Queue("serialdown 0x00010000 250\r\n~sta~");
    port.Queue("~fin~\r\nok\r\nboot> ");
    EXPECT_EQ(runner.RunOneCommand("serialdown 0x00010000 \"" + file + "\""), CommandResult::Done);
    EXPECT_EQ(port.Written(), "serialdown 0x00010000 250\n" + data);
    EXPECT_EQ(console.OutText(),
              "\nserialdown 0x00010000 250\r\nstart to send data to stb board, please wait 0s.\n" + ProgressRange(0, 83)
                  + Progress({100}) + "\nsend all ok. unit = 3, count = 250.\n\r\nok\r\n");
}

TEST_F(CommandRunnerTest, SerialDumpWritesTheFileAfterTheEnd)
{
    const std::string file = dir.File("dump.bin");
    dir.Write("dump.bin", "old");
    port.Queue("~sta~0123456789");
    port.Queue("~fin~boot> ");
    EXPECT_EQ(runner.RunOneCommand("serialdump 0x00140000 0xA " + file), CommandResult::Done);
    EXPECT_EQ(port.Written(), "serialdump 0x00140000 10\n");
    const auto bytes = ReadFileBytes(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "0123456789");
    EXPECT_EQ(console.OutText(),
              "\nstart to recv data from stb board, please wait 0s.\n" + ProgressRange(0, 10) + Progress({100})
                  + "\nrecv all ok. unit = 1, count = 10. will write to file " + file + "\n");
}

TEST_F(CommandRunnerTest, SerialDumpCutShortKeepsTheOldFile)
{
    const std::string file = dir.Write("dump.bin", "old");
    port.Queue("~sta~01234");
    port.QueueClosed();
    EXPECT_EQ(runner.RunOneCommand("serialdump 0 10 " + file), CommandResult::Fatal);
    const auto bytes = ReadFileBytes(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old");
    EXPECT_NE(console.ErrText().find("serial line failed"), std::string::npos);
}

TEST_F(CommandRunnerTest, NetDownConfiguresTheBoardFirst)
{
    port.Queue("boot> boot> ");
    port.Queue("fetching...\r\nboot> ");
    // The board fetches the file when it is told to.
    port.onWrite = [this](std::string_view text) {
        if (text.starts_with("partition download")) {
            transfers.End(transfers.Begin("C:\\fw\\app.bin", Address("10.0.0.6")), true);
        }
    };
    EXPECT_EQ(runner.RunOneCommand("netdown 0 \"C:\\fw\\app.bin\""), CommandResult::Done);
    EXPECT_EQ(port.Written(),
              "config ip 10.0.0.6\nconfig tftpport 2000\npartition download 0 10.0.0.5 \"C:\\fw\\app.bin\"\n");
    EXPECT_EQ(console.OutText(), "fetching...\r\n");
}

// The loader's prompt comes back after a netdown whether or not the board got the file; only a whole
// transfer of that file to the board, begun during the command, makes it a success.
TEST_F(CommandRunnerTest, NetDownIsDoneOnlyWhenTheBoardFetchedTheFile)
{
    using Act = std::function<void(TransferTracker&, std::vector<std::thread>&)>;
    const auto fetch = [](const char* file, const char* client, bool completed) -> Act {
        return [=](TransferTracker& t, std::vector<std::thread>&) { t.End(t.Begin(file, Address(client)), completed); };
    };
    const auto endLater = [](int afterMs) -> Act {
        return [afterMs](TransferTracker& t, std::vector<std::thread>& threads) {
            const TransferTracker::Id id = t.Begin("fw.bin", Address("10.0.0.6"));
            threads.emplace_back([&t, id, afterMs] {
                std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
                t.End(id, true);
            });
        };
    };
    const Act nothing = [](TransferTracker&, std::vector<std::thread>&) {};
    struct Case
    {
        const char* name;
        Act before; // what happened before the command
        Act atFetch; // what the board does when told to fetch
        std::string stbIp;
        CommandResult result;
    };
    const std::vector<Case> cases = {
        {"the board fetched it", nothing, fetch("fw.bin", "10.0.0.6", true), "", CommandResult::Done},
        {"the board at the -s address fetched it",
         nothing,
         fetch("fw.bin", "10.0.0.77", true),
         "10.0.0.77",
         CommandResult::Done},
        {"nobody fetched it", nothing, nothing, "", CommandResult::Fatal},
        {"the board's fetch broke off", nothing, fetch("fw.bin", "10.0.0.6", false), "", CommandResult::Fatal},
        {"another client fetched it", nothing, fetch("fw.bin", "10.0.0.9", true), "", CommandResult::Fatal},
        {"the board fetched another file", nothing, fetch("other.bin", "10.0.0.6", true), "", CommandResult::Fatal},
        {"the board fetched it before this command",
         fetch("fw.bin", "10.0.0.6", true),
         nothing,
         "",
         CommandResult::Fatal},
        {"the last acknowledgement comes after the prompt", nothing, endLater(50), "", CommandResult::Done},
        {"the transfer outlasts the grace", nothing, endLater(kGraceMs * 3), "", CommandResult::Fatal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPort board;
        board.Queue("boot> boot> ");
        board.Queue("fetching...\r\nboot> ");
        CaptureConsole out;
        BoardLink boardLink(board, out);
        boardLink.SetEcho(true);
        TransferTracker tracker;
        tracker.SetBoardAddress(c.stbIp.empty() ? "10.0.0.6" : c.stbIp);
        std::vector<std::thread> threads;
        c.before(tracker, threads);
        board.onWrite = [&](std::string_view text) {
            if (text.starts_with("partition download")) {
                c.atFetch(tracker, threads);
            }
        };
        CommandRunner netRunner(boardLink, out, pc, c.stbIp, tracker, kGraceMs);
        EXPECT_EQ(netRunner.RunOneCommand("netdown 0 fw.bin"), c.result);
        for (std::thread& thread : threads) {
            thread.join();
        }
        EXPECT_EQ(board.Written(),
                  "config ip " + (c.stbIp.empty() ? std::string("10.0.0.6") : c.stbIp)
                      + "\nconfig tftpport 2000\npartition download 0 10.0.0.5 \"fw.bin\"\n");
        EXPECT_EQ(out.OutText(),
                  c.result == CommandResult::Done
                      ? "fetching...\r\n"
                      : "fetching...\r\ndownload of fw.bin was not completed, please check.\n");
    }
}

TEST_F(CommandRunnerTest, CommandsThatSendNothing)
{
    struct Case
    {
        std::string command;
        CommandResult result;
        std::string printed;
    };
    const std::vector<Case> cases = {
        {"serialdown 0x10000 missing.bin", CommandResult::Fatal, "file missing.bin not find, please check.\n"},
        {"serialdown 0x10000 \"unclosed", CommandResult::Dropped, ""},
        {"serialdump 0 10 /nonexistent-folder/x.bin",
         CommandResult::Fatal,
         "can't create file /nonexistent-folder/x.bin, please check.\n"},
        {"netdown 0", CommandResult::Fatal, "error: netdown needs at least 3 words, please check.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ScriptedPort quiet;
        CaptureConsole out;
        BoardLink quietLink(quiet, out);
        CommandRunner quietRunner(quietLink, out, pc, "", transfers);
        EXPECT_EQ(quietRunner.RunOneCommand(c.command), c.result);
        EXPECT_EQ(quiet.Written(), "");
        if (c.command.find("unclosed") != std::string::npos) {
            EXPECT_EQ(out.OutText().rfind("warning fun(str2argv) line(", 0), 0u);
        } else {
            EXPECT_EQ(out.OutText(), c.printed);
        }
    }
}

TEST(CommandRunnerNetworkTest, NetworkCommandWithoutAPcAddressSendsNothing)
{
    ScriptedPort port;
    CaptureConsole console;
    BoardLink link(port, console);
    PcAddress none(
        "", [] { return std::nullopt; }, 2, 1);
    TransferTracker transfers;
    CommandRunner runner(link, console, none, "", transfers);
    EXPECT_EQ(runner.RunOneCommand("netdown 0 a.bin"), CommandResult::Fatal);
    EXPECT_EQ(port.Written(), "");
    EXPECT_EQ(console.OutText(),
              "Warning: NetConfig get local ip failed. please check.\n"
              "Error: No found network.please check.\n"
              "Error: No found network.please check.\n");
}

TEST(CommandRunnerNetworkTest, RunUsesTheDetectedAddress)
{
    ScriptedPort port;
    port.Queue("boot> ");
    CaptureConsole console;
    BoardLink link(port, console);
    PcAddress detected("", [] { return std::optional<std::string>("192.168.5.20"); });
    TransferTracker transfers;
    CommandRunner runner(link, console, detected, "", transfers);
    EXPECT_EQ(runner.RunOneCommand("run app.elf"), CommandResult::Done);
    EXPECT_EQ(port.Written(), "bootp 192.168.5.20 app.elf\n");
    EXPECT_EQ(console.OutText(), "");
}

TEST(PcAddressTest, WaitsForTheNetworkForAWhile)
{
    CaptureConsole console;
    int calls = 0;
    PcAddress late(
        "",
        [&]() -> std::optional<std::string> {
            return ++calls < 3 ? std::nullopt : std::optional<std::string>("10.9.8.7");
        },
        5,
        1);
    EXPECT_EQ(late.Get(console), "10.9.8.7");
    EXPECT_EQ(console.OutText(),
              "Warning: NetConfig get local ip failed. please check.\n"
              "Error: No found network.please check.\n"
              "Error: No found network.please check.\n");
    CaptureConsole none;
    PcAddress never(
        "", [] { return std::nullopt; }, 3, 1);
    EXPECT_EQ(never.Get(none), std::nullopt);
    CaptureConsole given;
    PcAddress fixed("1.2.3.4", [] { return std::nullopt; });
    EXPECT_EQ(fixed.Get(given), "1.2.3.4");
    EXPECT_EQ(given.OutText(), "");
}

} // namespace

} // namespace boottool
