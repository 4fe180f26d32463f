#include "CaptureConsole.h"
#include "ChildProcess.h"
#include "RawTftpClient.h"
#include "boottool/tftp/TftpPacket.h"
#include "boottool/tftp/TftpService.h"
#include "support/TempDir.h"

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace boottool {

namespace {

// A TFTP server of the tool on a free loopback port, serving the files named; `board` is the address
// the run has given the board, if any.
class RunningServer
{
public:
    RunningServer(std::set<std::string> files, int timeoutMs = 5000, const std::string& board = {})
        : m_server(m_storage, std::move(files), console, TftpSettings{timeoutMs, 8})
        , m_service(m_server, transfers, console, [this](TftpOutcome outcome) { fatal = outcome; })
    {
        transfers.SetBoardAddress(board);
        std::string error;
        started = m_service.Start("127.0.0.1", 0, error);
        EXPECT_TRUE(started) << error;
    }
    // The URL of a file by its absolute path; curl drops the first slash of the URL's path.
    std::string Url(const std::string& path) const
    {
        std::string escaped;
        for (const char c : path) {
            escaped += c == ' ' ? std::string("%20") : std::string(1, c);
        }
        return "tftp://127.0.0.1:" + std::to_string(m_service.Port()) + "/" + escaped;
    }
    std::uint16_t Port() const { return m_service.Port(); }

    CaptureConsole console;
    TransferTracker transfers;
    std::atomic<TftpOutcome> fatal{TftpOutcome::Sent};
    bool started = false;

private:
    DiskFileStorage m_storage;
    TftpServer m_server;
    TftpService m_service;
};

std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    std::uint32_t state = 12345;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

std::string ReadText(const std::string& path)
{
    const auto bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

class TftpClientsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!HaveProgram("curl") || !HaveProgram("tftp")) {
            GTEST_SKIP() << "curl and tftp-hpa are needed (tools/install-deps.sh installs them)";
        }
    }
    TempDir dir;
};

TEST_F(TftpClientsTest, CurlAndTftpHpaFetchInOctetAndNetascii)
{
    const std::string binary = dir.Write("fw image.bin", Pattern(70000));
    const std::string text = dir.Write("notes.txt", "first line\nsecond\rthird\n");
    RunningServer server({binary, text});
    struct Case
    {
        const char* name;
        std::vector<std::string> command;
        std::string expected;
    };
    const std::string port = std::to_string(server.Port());
    const std::string out = dir.File("out");
    const std::vector<Case> cases = {
        {"curl octet", {"curl", "-sS", "-o", out, server.Url(binary)}, ReadText(binary)},
        // curl keeps the netascii form as it arrives.
        {"curl netascii",
         {"curl", "-sS", "-o", out, server.Url(text + ";mode=netascii")},
         std::string("first line\r\nsecond\r\0third\r\n", 27)},
        {"tftp-hpa octet", {"tftp", "-m", "octet", "127.0.0.1", port, "-c", "get", binary, out}, ReadText(binary)},
        // tftp-hpa turns netascii back into the local form.
        {"tftp-hpa netascii", {"tftp", "-m", "netascii", "127.0.0.1", port, "-c", "get", text, out}, ReadText(text)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        unlink(out.c_str());
        const ChildResult result = RunChild(c.command, 20000);
        EXPECT_EQ(result.status, 0) << result.merged;
        EXPECT_TRUE(ReadText(out) == c.expected) << ReadText(out).size() << " bytes instead of " << c.expected.size();
    }
    EXPECT_EQ(server.console.OutText(), "");
}

TEST_F(TftpClientsTest, AFileNotNamedInTheCommandIsRefused)
{
    const std::string allowed = dir.Write("fw.bin", "firmware");
    const std::string secret = dir.Write("secret.txt", "password");
    RunningServer server({allowed});
    const std::string out = dir.File("out");
    const ChildResult result = RunChild(
        {"tftp", "-m", "octet", "127.0.0.1", std::to_string(server.Port()), "-c", "get", secret, out}, 20000);
    EXPECT_NE(result.merged.find("Error code 2: Access violation"), std::string::npos) << result.merged;
    EXPECT_NE(ReadText(out), "password");
    EXPECT_EQ(server.console.OutText(), "tftp: refused " + secret + ", not a file of this download.\n");
    // The server goes on serving.
    unlink(out.c_str());
    EXPECT_EQ(RunChild({"curl", "-sS", "-o", out, server.Url(allowed)}, 20000).status, 0);
    EXPECT_EQ(ReadText(out), "firmware");
}

TEST_F(TftpClientsTest, AClientThatStopsAcknowledgingSeesTheRetries)
{
    const std::string file = dir.Write("fw.bin", Pattern(2000));
    RunningServer server({file}, 100, "127.0.0.1"); // the client is the board: its time-out ends the run
    const int sock = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(server.Port());
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const auto request = tftp::BuildRequest(tftp::Opcode::ReadRequest, file, "octet");
    ASSERT_GT(sendto(sock, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to), 0);
    int copies = 0;
    for (;;) {
        pollfd entry{sock, POLLIN, 0};
        if (poll(&entry, 1, 1500) <= 0) {
            break;
        }
        std::uint8_t packet[600];
        const ssize_t got = recv(sock, packet, sizeof packet, 0);
        ASSERT_EQ(got, 516);
        EXPECT_EQ(packet[3], 1); // always block 1 again
        ++copies;
    }
    close(sock);
    EXPECT_EQ(copies, 9);
    std::string expected;
    for (int left = 8; left >= 1; --left) {
        expected += "retrying " + std::to_string(left) + " more times.\n";
    }
    // The board's transfer shows its progress; the retries stand on lines of their own below it.
    EXPECT_EQ(server.console.OutText(),
              "\nstart to send " + file + " to stb board by tftp, 2000 bytes.\n\b\b\b00%\n" + expected
                  + "timeout exit\n");
    EXPECT_EQ(server.fatal.load(), TftpOutcome::RetriesExhausted);
}

TEST_F(TftpClientsTest, ABadRequestIsAnsweredAndServingGoesOn)
{
    const std::string file = dir.Write("fw.bin", "firmware");
    RunningServer server({file});
    const int sock = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(server.Port());
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const auto request = tftp::BuildRequest(tftp::Opcode::ReadRequest, file, "mail");
    sendto(sock, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    pollfd entry{sock, POLLIN, 0};
    ASSERT_EQ(poll(&entry, 1, 3000), 1);
    std::uint8_t packet[600];
    const ssize_t got = recv(sock, packet, sizeof packet, 0);
    close(sock);
    const auto expected = tftp::BuildError(tftp::ErrorCode::IllegalOperation, "invalid mode");
    EXPECT_EQ(std::vector<std::uint8_t>(packet, packet + std::max<ssize_t>(got, 0)), expected);
    const std::string out = dir.File("out");
    EXPECT_EQ(RunChild({"curl", "-sS", "-o", out, server.Url(file)}, 20000).status, 0);
    EXPECT_EQ(ReadText(out), "firmware");
    EXPECT_EQ(server.console.OutText(), "mail==netascii?-1\nmail==octet?-1\n");
    EXPECT_EQ(server.fatal.load(), TftpOutcome::Sent); // no fatal outcome was reported
}

TEST_F(TftpClientsTest, StoppingDoesNotWaitForATransferThatIsRetrying)
{
    const std::string file = dir.Write("fw.bin", Pattern(2000));
    const int sock = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(sock, 0);
    std::chrono::steady_clock::time_point stopping;
    {
        RunningServer server({file}, 5000);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(server.Port());
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const auto request = tftp::BuildRequest(tftp::Opcode::ReadRequest, file, "octet");
        sendto(sock, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        pollfd entry{sock, POLLIN, 0};
        ASSERT_EQ(poll(&entry, 1, 3000), 1); // block 1 is out; the client never acknowledges it
        stopping = std::chrono::steady_clock::now();
    }
    close(sock);
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::seconds(2));
}

TEST_F(TftpClientsTest, AFileOver32MiBArrivesWhole)
{
    const std::string big = dir.Write("big.bin", Pattern(32u * 1024u * 1024u + 1000u));
    RunningServer server({big});
    const std::string out = dir.File("out");
    const ChildResult result = RunChild({"curl", "-sS", "-o", out, server.Url(big)}, 120000);
    ASSERT_EQ(result.status, 0) << result.merged;
    EXPECT_TRUE(ReadFileBytes(out) == ReadFileBytes(big));
}

// Every transfer waits on a socket of its own: a client that asks for the file and falls silent holds
// up neither the board nor any other client.
TEST_F(TftpClientsTest, ASilentClientHoldsUpNobody)
{
    const std::string file = dir.Write("fw.bin", Pattern(70000));
    RunningServer server({file});
    RawTftpClient silent;
    silent.Request(server.Port(), file);
    ASSERT_TRUE(silent.Receive(3000)); // block 1, never acknowledged
    const std::string port = std::to_string(server.Port());
    const std::string out = dir.File("out");
    const auto start = std::chrono::steady_clock::now();
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"curl", "-sS", "-o", out, server.Url(file)},
          std::vector<std::string>{"tftp", "-m", "octet", "127.0.0.1", port, "-c", "get", file, out}}) {
        SCOPED_TRACE(command.front());
        unlink(out.c_str());
        const ChildResult result = RunChild(command, 20000);
        EXPECT_EQ(result.status, 0) << result.merged;
        EXPECT_TRUE(ReadText(out) == ReadText(file));
    }
    // Served one after the other would have waited for the silent client's 45 s of retries.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(RawTftpClient("127.0.0.2").Fetch(server.Port(), file), ReadText(file));
    EXPECT_EQ(server.console.OutText().find("timeout exit"), std::string::npos);
}

// Only a time-out sends a block again: acknowledgements of other blocks and stray packets on the
// transfer's socket bring nothing back, so no sender can multiply the server's traffic.
TEST(TftpTransfersTest, WrongAcknowledgementsBringNoDataBeforeTheTimeOut)
{
    TempDir dir;
    const std::string data = Pattern(2000);
    const std::string file = dir.Write("fw.bin", data);
    constexpr int kTimeoutMs = 1000;
    RunningServer server({file}, kTimeoutMs);
    RawTftpClient client;
    client.Request(server.Port(), file);
    const auto first = client.Receive(3000);
    ASSERT_TRUE(first && first->IsData(1));
    const auto sentAt = std::chrono::steady_clock::now();
    const std::vector<std::vector<std::uint8_t>> wrong{tftp::BuildAck(7),
                                                       tftp::BuildAck(0),
                                                       tftp::BuildAck(65535),
                                                       tftp::BuildAck(2),
                                                       {0, 3, 0, 1, 'x'},
                                                       {0},
                                                       tftp::BuildRequest(tftp::Opcode::ReadRequest, file, "octet")};
    for (int i = 0; i < 200; ++i) {
        client.SendTo(first->fromPort, wrong[static_cast<std::size_t>(i) % wrong.size()]);
    }
    const auto resent = client.Receive(kTimeoutMs * 3);
    ASSERT_TRUE(resent);
    EXPECT_TRUE(resent->IsData(1));
    EXPECT_GE(std::chrono::steady_clock::now() - sentAt, std::chrono::milliseconds(kTimeoutMs - 100));
    EXPECT_EQ(server.console.OutText(), "retrying 8 more times.\n");
    // The transfer goes on as usual once the right acknowledgement comes.
    client.SendTo(resent->fromPort, tftp::BuildAck(1));
    const auto second = client.Receive(3000);
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->IsData(2));
}

// A transfer whose retries run out ends with "timeout exit"; it ends the run only when its client is
// the board, so a stranger on the LAN cannot end a download.
TEST(TftpTransfersTest, AStrangersTimeOutEndsOnlyItsTransfer)
{
    TempDir dir;
    const std::string data = Pattern(2000);
    const std::string file = dir.Write("fw.bin", data);
    RunningServer server({file}, 100, "127.0.0.2");
    RawTftpClient stranger;
    stranger.Request(server.Port(), file);
    int copies = 0;
    while (stranger.Receive(1500)) {
        ++copies;
    }
    EXPECT_EQ(copies, 9);
    EXPECT_TRUE(server.console.OutText().ends_with("retrying 1 more times.\ntimeout exit\n"))
        << server.console.OutText();
    EXPECT_EQ(server.fatal.load(), TftpOutcome::Sent); // nothing ended the run
    EXPECT_EQ(RawTftpClient("127.0.0.2").Fetch(server.Port(), file), data);
}

// Other clients get a bounded number of transfers; the rest stays free for the board.
TEST(TftpTransfersTest, TheBoardIsServedWhenOthersTakeAllTheirRoom)
{
    TempDir dir;
    const std::string data = Pattern(2000);
    const std::string file = dir.Write("fw.bin", data);
    RunningServer server({file}, 5000, "127.0.0.2");
    std::vector<std::unique_ptr<RawTftpClient>> silent;
    for (std::size_t i = 0; i < TftpService::kMaxOtherTransfers; ++i) {
        silent.push_back(std::make_unique<RawTftpClient>());
        silent.back()->Request(server.Port(), file);
        ASSERT_TRUE(silent.back()->Receive(3000));
    }
    RawTftpClient oneTooMany;
    oneTooMany.Request(server.Port(), file);
    const auto answer = oneTooMany.Receive(3000);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->bytes, tftp::BuildError(tftp::ErrorCode::NotDefined, "Too many transfers, try again later"));
    EXPECT_EQ(RawTftpClient("127.0.0.2").Fetch(server.Port(), file), data);
    const std::string refusal = "tftp: too many transfers, refused " + file + ".\n";
    EXPECT_EQ(server.console.OutText().substr(0, refusal.size()), refusal); // the board's progress follows
}

// A flood of stray packets on the listening port gets at most ten lines a second, then one count a
// second; the server still serves.
TEST(TftpTransfersTest, AFloodOfStrayPacketsPrintsFewLines)
{
    TempDir dir;
    const std::string data = Pattern(2000);
    const std::string file = dir.Write("fw.bin", data);
    RunningServer server({file});
    constexpr int kPackets = 3000;
    const auto start = std::chrono::steady_clock::now();
    {
        RawTftpClient flooder;
        for (int i = 0; i < kPackets; ++i) {
            flooder.SendTo(server.Port(), {0, 9, 'j', 'u', 'n', 'k'});
        }
        // The count of the last second follows once that second is over.
        const auto counted
            = [&] { return server.console.OutText().find("more stray packets ignored") != std::string::npos; };
        while (!counted() && std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    }
    const auto seconds
        = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
    std::istringstream lines(server.console.OutText());
    int detailed = 0;
    int counts = 0;
    long ignored = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line == "tftp: unknown request opcode 9, ignored.") {
            ++detailed;
        } else if (line.ends_with(" more stray packets ignored")) {
            ++counts;
            ignored += std::stol(line);
        } else {
            ADD_FAILURE() << line;
        }
    }
    EXPECT_GE(detailed, 1);
    EXPECT_LE(detailed, StrayLineLimiter::kLinesPerSecond);
    EXPECT_GE(counts, 1);
    EXPECT_LE(counts, seconds + 1);
    EXPECT_GT(ignored, 0);
    EXPECT_LE(detailed + ignored, kPackets); // the system may drop some of a flood before the server sees them
    EXPECT_EQ(RawTftpClient().Fetch(server.Port(), file), data);
}

} // namespace

} // namespace boottool
