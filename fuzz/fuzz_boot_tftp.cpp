// A TFTP request followed by the client's packets: the input is cut at each 0xFF 0xFE pair; the first
// part is the request, each later part one packet from the client (an empty part is a time-out).
#include "boottool/tftp/ProgressPrinter.h"
#include "boottool/tftp/TftpPacket.h"
#include "boottool/tftp/TftpServer.h"

#include <cerrno>
#include <cstring>
#include <deque>

namespace boottool {

namespace {

class Quiet : public Console
{
public:
    void Out(std::string_view) override { }
    void Err(std::string_view) override { }
};

class Storage : public FileStorage
{
public:
    [[nodiscard]] OpenedFile Open(const std::string& path) override
    {
        OpenedFile opened;
        if (path == "fw.bin") {
            opened.source = std::make_unique<Bytes>(1500);
            opened.size = 1500;
        } else if (path == "text.txt") {
            opened.source = std::make_unique<Bytes>(700);
            opened.size = 700;
        } else {
            opened.error = ENOENT;
        }
        return opened;
    }

private:
    class Bytes : public FileSource
    {
    public:
        explicit Bytes(std::size_t size)
            : m_left(size)
        { }
        [[nodiscard]] bool Read(std::uint8_t* out, std::size_t max, std::size_t& got) override
        {
            got = std::min(max, m_left);
            for (std::size_t i = 0; i < got; ++i) {
                out[i] = static_cast<std::uint8_t>(i % 3 == 0 ? '\n' : i % 5 == 0 ? '\r' : 'a');
            }
            m_left -= got;
            return true;
        }

    private:
        std::size_t m_left;
    };
};

class Client : public DatagramSocket
{
public:
    std::deque<std::vector<std::uint8_t>> replies;

    [[nodiscard]] bool Send(std::span<const std::uint8_t> packet) override
    {
        if (packet.size() > tftp::kMaxPacket + 512) {
            __builtin_trap();
        }
        return true;
    }
    [[nodiscard]] ReceiveStatus Receive(std::vector<std::uint8_t>& packet, std::size_t limit, int) override
    {
        if (replies.empty()) {
            return ReceiveStatus::Timeout;
        }
        packet = std::move(replies.front());
        replies.pop_front();
        if (packet.empty()) {
            return ReceiveStatus::Timeout;
        }
        if (packet.size() > limit) {
            packet.resize(limit);
        }
        return ReceiveStatus::Ok;
    }
    std::string LastError() const override { return {}; }
};

void HandleExchange(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::vector<std::uint8_t>> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (i + 1 < size && data[i] == 0xFF && data[i + 1] == 0xFE) {
            parts.emplace_back();
            ++i;
        } else {
            parts.back().push_back(data[i]);
        }
    }
    if (parts[0].size() > tftp::kMaxPacket) {
        parts[0].resize(tftp::kMaxPacket); // the listening socket reads no more
    }
    Quiet console;
    Storage storage;
    Client client;
    client.replies.assign(parts.begin() + 1, parts.end());
    TftpServer server(storage, {"fw.bin", "text.txt", "missing.bin"}, console, TftpSettings{0, 2});
    ProgressPrinter progress(console); // as the board's transfers are followed
    const bool served = server.FileToServe(parts[0]).has_value();
    // Any outcome is fine here; the sanitizers and the size check in Client::Send find the faults.
    const TftpOutcome outcome = server.Handle(parts[0], client, &progress);
    // The service runs on a thread of its own exactly the requests that become transfers.
    const bool answeredAtOnce
        = outcome == TftpOutcome::Refused || outcome == TftpOutcome::BadRequest || outcome == TftpOutcome::Ignored;
    if (served == answeredAtOnce) {
        __builtin_trap();
    }
    for (const auto& part : parts) {
        (void)tftp::ParseReply(part); // read for the sanitizers only
    }
}

} // namespace

} // namespace boottool

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    boottool::HandleExchange(data, size);
    return 0;
}
