#include "CaptureConsole.h"
#include "ChildProcess.h"
#include "boottool/tftp/TftpPacket.h"
#include "boottool/tftp/TftpService.h"
#include "support/TempDir.h"

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace boottool {

namespace {

// A TFTP server of the tool on a free loopback port, serving the files named.
class RunningServer
{
public:
    RunningServer(std::set<std::string> files, int timeoutMs = 5000)
        : m_server(m_storage, std::move(files), console, TftpSettings{timeoutMs, 8})
        , m_service(m_server, console, [this](TftpOutcome outcome) { fatal = outcome; })
    {
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
    std::atomic<TftpOutcome> fatal{TftpOutcome::Sent};
    bool started = false;

private:
    PosixFileStorage m_storage;
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
    RunningServer server({file}, 100);
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
    EXPECT_EQ(server.console.OutText(), expected + "timeout exit\n");
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

} // namespace

} // namespace boottool
