#include "boottool/tftp/TftpServer.h"
#include "CaptureConsole.h"
#include "TftpFakes.h"
#include "boottool/tftp/ProgressPrinter.h"

#include <gtest/gtest.h>

namespace boottool {

namespace {

std::string ErrorPacket(std::uint16_t code, const std::string& message)
{
    const auto packet = tftp::BuildError(code, message);
    return std::string(packet.begin(), packet.end());
}

std::string Sent(const std::vector<std::uint8_t>& packet)
{
    return std::string(packet.begin(), packet.end());
}

class TftpServerTest : public ::testing::Test
{
protected:
    TftpOutcome Request(tftp::Opcode opcode, const std::string& file, const std::string& mode = "octet")
    {
        return Raw(tftp::BuildRequest(opcode, file, mode));
    }
    TftpOutcome Raw(const std::vector<std::uint8_t>& packet)
    {
        TftpServer server(storage, allowed, console, TftpSettings{5000, 8});
        return server.Handle(packet, client);
    }

    MemoryStorage storage;
    std::set<std::string> allowed{"fw.bin", "C:\\fw\\app.bin", "missing.bin", "locked.bin", "folder", "big.bin"};
    CaptureConsole console;
    ScriptedClient client;
};

TEST_F(TftpServerTest, SendsFilesInBlocksOf512)
{
    struct Case
    {
        std::size_t size;
        std::vector<std::uint16_t> blocks;
    };
    for (const Case& c : {Case{1000, {1, 2}}, Case{1024, {1, 2, 3}}, Case{0, {1}}, Case{511, {1}}}) {
        SCOPED_TRACE(c.size);
        std::string bytes(c.size, '\0');
        for (std::size_t i = 0; i < c.size; ++i) {
            bytes[i] = static_cast<char>(i * 31);
        }
        storage.files["fw.bin"] = bytes;
        client = ScriptedClient();
        EXPECT_EQ(Request(tftp::Opcode::ReadRequest, "fw.bin"), TftpOutcome::Sent);
        EXPECT_EQ(client.blocks, c.blocks);
        EXPECT_EQ(client.data, bytes);
        EXPECT_EQ(console.OutText(), "");
    }
}

TEST_F(TftpServerTest, NetasciiTurnsLineEndsIntoCrLf)
{
    struct Case
    {
        std::string file;
        std::string sent;
        std::vector<std::uint16_t> blocks;
    };
    const std::vector<Case> cases = {
        {"a\nb\rc", std::string("a\r\nb\r\0c", 7), {1}},
        {"line\r\n", std::string("line\r\0\r\n", 8), {1}},
        {std::string(511, 'x') + "\n", std::string(511, 'x') + "\r\n", {1, 2}}, // the pair splits across blocks
        {"", "", {1}},
    };
    for (const Case& c : cases) {
        storage.files["fw.bin"] = c.file;
        client = ScriptedClient();
        EXPECT_EQ(Request(tftp::Opcode::ReadRequest, "fw.bin", "NetASCII"), TftpOutcome::Sent);
        EXPECT_EQ(client.data, c.sent);
        EXPECT_EQ(client.blocks, c.blocks);
    }
}

TEST_F(TftpServerTest, RequestsThatAreNotServed)
{
    storage.files["fw.bin"] = "x";
    storage.files["/etc/passwd"] = "secret";
    storage.errors["locked.bin"] = EACCES;
    storage.errors["folder"] = EISDIR;
    struct Case
    {
        const char* name;
        std::vector<std::uint8_t> request;
        TftpOutcome outcome;
        std::string answer; // the one packet sent back, empty for none
        std::string printed;
    };
    const std::vector<Case> cases = {
        {"a file not named in the command",
         tftp::BuildRequest(tftp::Opcode::ReadRequest, "/etc/passwd", "octet"),
         TftpOutcome::Refused,
         ErrorPacket(2, "Access violation"),
         "tftp: refused /etc/passwd, not a file of this download.\n"},
        {"missing",
         tftp::BuildRequest(tftp::Opcode::ReadRequest, "missing.bin", "octet"),
         TftpOutcome::OpenFailed,
         ErrorPacket(1, std::strerror(ENOENT)),
         "No Found file: missing.bin\n"},
        {"access refused",
         tftp::BuildRequest(tftp::Opcode::ReadRequest, "locked.bin", "octet"),
         TftpOutcome::OpenFailed,
         ErrorPacket(2, std::strerror(EACCES)),
         "No Found file: locked.bin\n"},
        {"other system error",
         tftp::BuildRequest(tftp::Opcode::ReadRequest, "folder", "octet"),
         TftpOutcome::OpenFailed,
         ErrorPacket(static_cast<std::uint16_t>(100 + EISDIR), std::strerror(EISDIR)),
         "No Found file: folder\n"},
        {"unknown mode",
         tftp::BuildRequest(tftp::Opcode::ReadRequest, "fw.bin", "zip"),
         TftpOutcome::BadRequest,
         ErrorPacket(4, "invalid mode"),
         "zip==netascii?1\nzip==octet?1\n"},
        {"mode mail",
         tftp::BuildRequest(tftp::Opcode::ReadRequest, "fw.bin", "mail"),
         TftpOutcome::BadRequest,
         ErrorPacket(4, "invalid mode"),
         "mail==netascii?-1\nmail==octet?-1\n"},
        {"unknown opcode",
         tftp::BuildAck(1),
         TftpOutcome::BadRequest,
         ErrorPacket(4, "Illegal TFTP operation"),
         "tftp: unknown request opcode 4, ignored.\n"},
        {"write request",
         tftp::BuildRequest(tftp::Opcode::WriteRequest, "fw.bin", "octet"),
         TftpOutcome::Ignored,
         "",
         ""},
        {"no name terminator",
         {0, 1, 'f', 'w'},
         TftpOutcome::BadRequest,
         ErrorPacket(4, "Illegal TFTP operation"),
         "tftp: malformed request, ignored.\n"},
        {"empty name",
         {0, 1, 0, 'o', 'c', 't', 'e', 't', 0},
         TftpOutcome::BadRequest,
         ErrorPacket(4, "Illegal TFTP operation"),
         "tftp: malformed request, ignored.\n"},
        {"no mode terminator",
         {0, 1, 'f', 'w', '.', 'b', 'i', 'n', 0, 'o', 'c'},
         TftpOutcome::BadRequest,
         ErrorPacket(4, "Illegal TFTP operation"),
         "tftp: malformed request, ignored.\n"},
        {"one byte",
         {1},
         TftpOutcome::BadRequest,
         ErrorPacket(4, "Illegal TFTP operation"),
         "tftp: malformed request, ignored.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        client = ScriptedClient();
        CaptureConsole out;
        TftpServer server(storage, allowed, out, TftpSettings{5000, 8});
        EXPECT_EQ(server.Handle(c.request, client), c.outcome);
        if (c.answer.empty()) {
            EXPECT_TRUE(client.sent.empty());
        } else {
            ASSERT_EQ(client.sent.size(), 1u);
            EXPECT_EQ(Sent(client.sent[0]), c.answer);
        }
        EXPECT_EQ(out.OutText(), c.printed);
    }
}

TEST_F(TftpServerTest, OptionsAfterTheModeAreIgnored)
{
    storage.files["fw.bin"] = std::string(600, 'q');
    auto request = tftp::BuildRequest(tftp::Opcode::ReadRequest, "fw.bin", "octet");
    for (const char* part : {"blksize", "1468", "tsize", "0"}) {
        request.insert(request.end(), part, part + std::strlen(part));
        request.push_back(0);
    }
    EXPECT_EQ(Raw(request), TftpOutcome::Sent);
    EXPECT_EQ(client.blocks, (std::vector<std::uint16_t>{1, 2})); // 512-byte blocks, no OACK
}

struct ExchangeCase
{
    const char* name;
    std::vector<ScriptedClient::Step> steps;
    TftpOutcome outcome;
    std::vector<std::uint16_t> blocks;
    std::string printed;
};

TEST_F(TftpServerTest, AcknowledgementsTimeoutsAndClientErrors)
{
    storage.files["fw.bin"] = std::string(1000, 'z'); // two blocks
    using C = ScriptedClient;
    std::string countdown;
    for (int left = 8; left >= 1; --left) {
        countdown += "retrying " + std::to_string(left) + " more times.\n";
    }
    const std::vector<ExchangeCase> cases = {
        {"duplicate ack of the previous block is not answered",
         {C::Ack(1), C::Ack(1), C::Ack(1), C::Ack(2)},
         TftpOutcome::Sent,
         {1, 2},
         ""},
        // Only a time-out sends a block again (as tftpd-hpa does): a sender of wrong packets gets nothing back.
        {"ack of another block is not answered", {C::Ack(7), C::Ack(1)}, TftpOutcome::Sent, {1, 2}, ""},
        {"stray packet is not answered", {C::Send({0, 3, 0, 1}), C::Ack(1)}, TftpOutcome::Sent, {1, 2}, ""},
        {"short packet is not answered", {C::Send({0}), C::Ack(1)}, TftpOutcome::Sent, {1, 2}, ""},
        {"wrong packets then silence: one resend, counted",
         {C::Ack(7), C::Ack(65535), C::Send({0}), C::Silence(), C::Ack(2), C::Ack(1)},
         TftpOutcome::Sent,
         {1, 1, 2},
         "retrying 8 more times.\n"},
        {"time-outs count down",
         {C::Silence(), C::Silence(), C::Silence()},
         TftpOutcome::Sent,
         {1, 1, 1, 1, 2},
         "retrying 8 more times.\nretrying 7 more times.\nretrying 6 more times.\n"},
        {"retries counted per block",
         {C::Silence(),
          C::Silence(),
          C::Silence(),
          C::Silence(),
          C::Silence(),
          C::Ack(1),
          C::Silence(),
          C::Silence(),
          C::Silence(),
          C::Silence(),
          C::Silence()},
         TftpOutcome::Sent,
         {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2},
         "retrying 8 more times.\nretrying 7 more times.\nretrying 6 more times.\nretrying 5 more times.\n"
         "retrying 4 more times.\nretrying 8 more times.\nretrying 7 more times.\nretrying 6 more times.\n"
         "retrying 5 more times.\nretrying 4 more times.\n"},
        {"a client that stops acknowledging ends the run",
         std::vector<C::Step>(9, C::Silence()),
         TftpOutcome::RetriesExhausted,
         std::vector<std::uint16_t>(9, 1),
         countdown + "timeout exit\n"},
        {"an error from the client ends the transfer",
         {C::Ack(1), C::Send(tftp::BuildError(0, "disk full\x01"))},
         TftpOutcome::ClientError,
         {1, 2},
         "tftp: client stopped the transfer of fw.bin: error 0 disk full?\n"},
    };
    for (const ExchangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        client = ScriptedClient();
        client.steps.assign(c.steps.begin(), c.steps.end());
        CaptureConsole out;
        TftpServer server(storage, allowed, out, TftpSettings{5000, 8});
        EXPECT_EQ(server.Handle(tftp::BuildRequest(tftp::Opcode::ReadRequest, "fw.bin", "octet"), client), c.outcome);
        EXPECT_EQ(client.blocks, c.blocks);
        EXPECT_EQ(out.OutText(), c.printed);
    }
}

TEST_F(TftpServerTest, BlockNumbersRollOverSoLargeFilesGoWhole)
{
    const std::size_t size = 65536u * 512u + 100u; // 32 MiB and a bit: block numbers pass 65535
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; i += 512) {
        bytes[i] = static_cast<char>(i / 512);
    }
    storage.files["big.bin"] = bytes;
    client.keepData = false;
    EXPECT_EQ(Request(tftp::Opcode::ReadRequest, "big.bin"), TftpOutcome::Sent);
    ASSERT_EQ(client.blocks.size(), 65537u);
    EXPECT_EQ(client.blocks[65534], 65535);
    EXPECT_EQ(client.blocks[65535], 0);
    EXPECT_EQ(client.blocks[65536], 1);
}

TEST_F(TftpServerTest, FileToServeNamesOnlyRequestsThatBecomeTransfers)
{
    storage.files["fw.bin"] = std::string(600, 'q');
    struct Case
    {
        const char* name;
        std::vector<std::uint8_t> request;
        std::optional<std::string> file;
    };
    const std::vector<Case> cases = {
        {"octet", tftp::BuildRequest(tftp::Opcode::ReadRequest, "fw.bin", "octet"), "fw.bin"},
        {"netascii", tftp::BuildRequest(tftp::Opcode::ReadRequest, "fw.bin", "NETASCII"), "fw.bin"},
        {"a file that cannot be opened",
         tftp::BuildRequest(tftp::Opcode::ReadRequest, "missing.bin", "octet"),
         "missing.bin"},
        {"not a file of this run", tftp::BuildRequest(tftp::Opcode::ReadRequest, "/etc/passwd", "octet"), std::nullopt},
        {"write request", tftp::BuildRequest(tftp::Opcode::WriteRequest, "fw.bin", "octet"), std::nullopt},
        {"unknown mode", tftp::BuildRequest(tftp::Opcode::ReadRequest, "fw.bin", "mail"), std::nullopt},
        {"unknown opcode", tftp::BuildAck(1), std::nullopt},
        {"malformed", {0, 1, 'f', 'w'}, std::nullopt},
    };
    TftpServer server(storage, allowed, console, TftpSettings{5000, 8});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(server.FileToServe(c.request), c.file);
    }
}

// Records what the server tells a watch.
class RecordingWatch : public TransferWatch
{
public:
    void Started(const std::string& file, std::uint64_t size) override
    {
        events.push_back("start " + file + " " + std::to_string(size));
    }
    void Acknowledged(std::uint64_t bytes) override { events.push_back("ack " + std::to_string(bytes)); }
    void Finished(std::uint64_t bytes) override { events.push_back("done " + std::to_string(bytes)); }
    void BeforeMessage() override { events.push_back("message"); }

    std::vector<std::string> events;
};

TEST_F(TftpServerTest, AWatchFollowsTheTransfer)
{
    storage.files["fw.bin"] = std::string(1100, 'w');
    using C = ScriptedClient;
    struct Case
    {
        const char* name;
        std::vector<C::Step> steps;
        std::vector<std::string> events;
    };
    const std::vector<Case> cases = {
        {"whole file", {}, {"start fw.bin 1100", "ack 512", "ack 1024", "done 1100"}},
        {"a retry", {C::Ack(1), C::Silence()}, {"start fw.bin 1100", "ack 512", "message", "ack 1024", "done 1100"}},
        {"the client stops it",
         {C::Ack(1), C::Send(tftp::BuildError(0, "full"))},
         {"start fw.bin 1100", "ack 512", "message"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        client = ScriptedClient();
        client.steps.assign(c.steps.begin(), c.steps.end());
        RecordingWatch watch;
        TftpServer server(storage, allowed, console, TftpSettings{5000, 8});
        (void)server.Handle(tftp::BuildRequest(tftp::Opcode::ReadRequest, "fw.bin", "octet"), client, &watch);
        EXPECT_EQ(watch.events, c.events);
    }
    RecordingWatch untouched;
    TftpServer server(storage, allowed, console, TftpSettings{5000, 8});
    EXPECT_EQ(server.Handle(tftp::BuildRequest(tftp::Opcode::ReadRequest, "/etc/passwd", "octet"), client, &untouched),
              TftpOutcome::Refused);
    EXPECT_TRUE(untouched.events.empty());
}

// A network download shows the progress serialdown shows for the same size (units of 3 bytes for 250),
// so the front-end's bar follows it; a message about the transfer stands on a line of its own.
TEST(ProgressPrinterTest, ShowsTheUnitsOfSerialDown)
{
    const auto steps = [](int first, int last) {
        std::string text;
        for (int number = first; number <= last; ++number) {
            text += Format("\b\b\b%02d%%", number);
        }
        return text;
    };
    CaptureConsole console;
    ProgressPrinter printer(console);
    printer.Started("fw.bin", 250);
    printer.BeforeMessage();
    printer.Acknowledged(200); // units 1 to 66 begin at or before byte 200
    printer.Acknowledged(200); // nothing new
    printer.Finished(250);
    printer.BeforeMessage(); // the line is closed already
    EXPECT_EQ(console.OutText(),
              "\nstart to send fw.bin to stb board by tftp, 250 bytes.\n" + steps(0, 0) + "\n" + steps(1, 66)
                  + steps(67, 83) + "\b\b\b100%\nsend all ok. count = 250.\n");
}

} // namespace

} // namespace boottool
