#include "platform/Sockets.h"
#include "platform/WakeSignal.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>
#include <vector>

namespace platform {

namespace {

// A UDP socket bound to a free loopback port.
struct LoopbackSocket
{
    LoopbackSocket()
        : handle(OpenUdpSocket())
    {
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        SocketLength length = sizeof address;
        bound = handle != kNoSocket && bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0
            && getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    }
    ~LoopbackSocket() { CloseSocket(handle); }
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;

    SocketHandle handle;
    sockaddr_in address{};
    bool bound = false;
};

TEST(SocketsTest, APacketArrivesWithItsSender)
{
    const SocketLibrary library;
    ASSERT_TRUE(library.Started());
    LoopbackSocket receiver;
    LoopbackSocket sender;
    ASSERT_TRUE(receiver.bound && sender.bound) << SocketErrorText();
    ASSERT_TRUE(SetNonBlocking(receiver.handle));
    std::array<std::uint8_t, 16> buffer{};
    sockaddr_in peer{};
    EXPECT_LT(ReceiveFrom(receiver.handle, buffer, peer), 0); // nothing there: no wait
    EXPECT_EQ(SocketErrorNumber(), EAGAIN);

    ASSERT_EQ(connect(sender.handle, reinterpret_cast<const sockaddr*>(&receiver.address), sizeof receiver.address), 0);
    const std::array<std::uint8_t, 3> packet{1, 2, 3};
    ASSERT_EQ(SendOn(sender.handle, packet), 3);
    std::array<WaitEntry, 1> entries{WaitEntry{receiver.handle}};
    ASSERT_EQ(WaitReadable(entries, 5000), 1);
    EXPECT_TRUE(entries[0].readable);
    ASSERT_EQ(ReceiveFrom(receiver.handle, buffer, peer), 3);
    EXPECT_EQ(buffer[2], 3);
    EXPECT_EQ(peer.sin_port, sender.address.sin_port);
}

TEST(SocketsTest, AWaitEndsAtItsTimeOutOrWhenWoken)
{
    const SocketLibrary library;
    LoopbackSocket quiet;
    WakeSignal wake;
    ASSERT_TRUE(quiet.bound);
    ASSERT_TRUE(wake.Open()) << SocketErrorText();
    std::array<WaitEntry, 2> entries{WaitEntry{quiet.handle}, WaitEntry{wake.Handle()}};
    EXPECT_EQ(WaitReadable(entries, 50), 0);
    EXPECT_FALSE(entries[0].readable || entries[1].readable);

    std::thread waker([&wake] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        wake.Notify();
    });
    const int ready = WaitReadable(entries, 10000);
    waker.join();
    EXPECT_EQ(ready, 1);
    EXPECT_FALSE(entries[0].readable);
    EXPECT_TRUE(entries[1].readable);
    // Once woken, it stays so: every later wait ends at once.
    EXPECT_EQ(WaitReadable(entries, 10000), 1);
}

TEST(SocketsTest, ATakenPortIsReportedAsInUse)
{
    const SocketLibrary library;
    LoopbackSocket first;
    ASSERT_TRUE(first.bound);
    const SocketHandle second = OpenUdpSocket();
    ASSERT_NE(second, kNoSocket);
    EXPECT_NE(bind(second, reinterpret_cast<const sockaddr*>(&first.address), sizeof first.address), 0);
    EXPECT_EQ(SocketErrorNumber(), EADDRINUSE);
    EXPECT_FALSE(SocketErrorText().empty());
    CloseSocket(second);
}

} // namespace

} // namespace platform
