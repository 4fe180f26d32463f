#include "boottool/tftp/TransferTracker.h"

#include "platform/Sockets.h"
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace boottool {

namespace {

std::uint32_t Address(const char* text)
{
    in_addr address{};
    EXPECT_TRUE(platform::ReadIpv4(text, address));
    return address.s_addr;
}

TEST(TransferTrackerTest, TheBoardIsTheAddressOfTheNetworkSetUp)
{
    struct Case
    {
        const char* given;
        const char* client;
        bool board;
    };
    const std::vector<Case> cases = {
        {"10.0.0.6", "10.0.0.6", true},
        {"10.0.0.6", "10.0.0.7", false},
        {"0x0a000006", "10.0.0.6", true}, // the forms inet_aton reads
        {"", "0.0.0.0", false},
        {"board.local", "0.0.0.0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        TransferTracker tracker;
        tracker.SetBoardAddress("10.9.9.9");
        tracker.SetBoardAddress(c.given); // a later set-up replaces the earlier one
        EXPECT_EQ(tracker.IsBoard(Address(c.client)), c.board);
        EXPECT_FALSE(tracker.IsBoard(Address("10.9.9.9")));
    }
}

TEST(TransferTrackerTest, GraceIsGivenOnlyToATransferStillGoingOn)
{
    using Clock = std::chrono::steady_clock;
    constexpr int kGraceMs = 300;
    TransferTracker tracker;
    tracker.SetBoardAddress("10.0.0.6");
    const TransferTracker::Id mark = tracker.Mark();
    const TransferTracker::Id stranger = tracker.Begin("fw.bin", Address("10.0.0.9"));

    auto start = Clock::now();
    EXPECT_FALSE(tracker.BoardReceived("fw.bin", mark, kGraceMs)); // only a stranger's transfer goes on
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(kGraceMs / 2));

    const TransferTracker::Id board = tracker.Begin("fw.bin", Address("10.0.0.6"));
    start = Clock::now();
    EXPECT_FALSE(tracker.BoardReceived("fw.bin", mark, kGraceMs)); // the board's never ends
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(kGraceMs));

    std::thread ending([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        tracker.End(board, true);
    });
    start = Clock::now();
    EXPECT_TRUE(tracker.BoardReceived("fw.bin", mark, 5000)); // answered as soon as it ends
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    ending.join();

    tracker.End(stranger, true);
    EXPECT_TRUE(tracker.BoardReceived("fw.bin", mark, 0));
    EXPECT_FALSE(tracker.BoardReceived("fw.bin", tracker.Mark(), 0)); // a later command needs a transfer of its own
    EXPECT_FALSE(tracker.BoardReceived("other.bin", mark, 0));
}

} // namespace

} // namespace boottool
