#include "boottool/tftp/TftpServer.h"

#include "boottool/tftp/TftpPacket.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <strings.h>

namespace boottool {

namespace {

using Clock = std::chrono::steady_clock;

int Sign(int value)
{
    if (value > 0) {
        return 1;
    }
    return value < 0 ? -1 : 0;
}

std::uint16_t SystemErrorCode(int error)
{
    return static_cast<std::uint16_t>(tftp::kSystemErrorBase + error);
}

std::uint16_t OpenErrorCode(int error)
{
    if (error == ENOENT) {
        return static_cast<std::uint16_t>(tftp::ErrorCode::FileNotFound);
    }
    if (error == EACCES || error == EPERM) {
        return static_cast<std::uint16_t>(tftp::ErrorCode::AccessViolation);
    }
    return SystemErrorCode(error);
}

// TFTP neither acknowledges nor repeats an ERROR packet: the request ends the same way whether the
// packet arrives or not, so a failed send changes nothing.
void AnswerWithError(DatagramSocket& handler, std::span<const std::uint8_t> packet)
{
    (void)handler.Send(packet);
}

int MsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

TftpServer::TftpServer(FileStorage& storage,
                       std::set<std::string> allowedFiles,
                       Console& console,
                       TftpSettings settings)
    : m_storage(storage)
    , m_allowed(std::move(allowedFiles))
    , m_console(console)
    , m_requestConsole(&console)
    , m_settings(settings)
{ }

std::optional<std::string> TftpServer::FileToServe(std::span<const std::uint8_t> packet) const
{
    tftp::Request request = tftp::ParseRequest(packet);
    if (request.fault != tftp::RequestFault::None || request.opcode != tftp::Opcode::ReadRequest
        || tftp::ModeOf(request.mode) == tftp::Mode::Unknown || m_allowed.count(request.file) == 0) {
        return std::nullopt;
    }
    return std::move(request.file);
}

TftpOutcome TftpServer::Handle(std::span<const std::uint8_t> packet, DatagramSocket& handler, TransferWatch* watch)
{
    const tftp::Request request = tftp::ParseRequest(packet);
    if (request.fault == tftp::RequestFault::UnknownOpcode) {
        m_requestConsole->Out(
            Format("tftp: unknown request opcode %u, ignored.\n", static_cast<unsigned>(request.opcode)));
        AnswerWithError(handler, tftp::BuildError(tftp::ErrorCode::IllegalOperation, "Illegal TFTP operation"));
        return TftpOutcome::BadRequest;
    }
    if (request.fault != tftp::RequestFault::None) {
        m_requestConsole->Out("tftp: malformed request, ignored.\n");
        AnswerWithError(handler, tftp::BuildError(tftp::ErrorCode::IllegalOperation, "Illegal TFTP operation"));
        return TftpOutcome::BadRequest;
    }
    const tftp::Mode mode = tftp::ModeOf(request.mode);
    if (mode == tftp::Mode::Unknown) {
        const std::string shown = tftp::PrintableText(request.mode);
        m_requestConsole->Out(Format("%s==netascii?%d\n%s==octet?%d\n",
                                     shown.c_str(),
                                     Sign(strcasecmp(request.mode.c_str(), "netascii")),
                                     shown.c_str(),
                                     Sign(strcasecmp(request.mode.c_str(), "octet"))));
        AnswerWithError(handler, tftp::BuildError(tftp::ErrorCode::IllegalOperation, "invalid mode"));
        return TftpOutcome::BadRequest;
    }
    if (request.opcode == tftp::Opcode::WriteRequest) {
        return TftpOutcome::Ignored;
    }
    // Only the files this run's commands name may leave the PC.
    if (m_allowed.count(request.file) == 0) {
        m_requestConsole->Out(
            Format("tftp: refused %s, not a file of this download.\n", tftp::PrintableText(request.file).c_str()));
        AnswerWithError(handler, tftp::BuildError(tftp::ErrorCode::AccessViolation, "Access violation"));
        return TftpOutcome::Refused;
    }
    return Serve(request.file, mode == tftp::Mode::Netascii, handler, watch);
}

TftpOutcome TftpServer::Serve(const std::string& file, bool netascii, DatagramSocket& handler, TransferWatch* watch)
{
    OpenedFile opened = m_storage.Open(file);
    if (!opened.source) {
        AnswerWithError(handler, tftp::BuildError(OpenErrorCode(opened.error), std::strerror(opened.error)));
        m_console.Out(Format("No Found file: %s\n", file.c_str()));
        return TftpOutcome::OpenFailed;
    }
    if (watch != nullptr) {
        watch->Started(file, opened.size);
    }
    Transfer transfer{file, handler, watch, {}};
    if (netascii) {
        NetasciiSource converted(std::move(opened.source));
        return SendFile(transfer, converted);
    }
    return SendFile(transfer, *opened.source);
}

void TftpServer::Say(const Transfer& transfer, const std::string& text)
{
    if (transfer.watch != nullptr) {
        transfer.watch->BeforeMessage();
    }
    m_console.Out(text);
}

TftpServer::AckWait TftpServer::AwaitAck(Transfer& transfer, std::uint16_t block, TftpOutcome& ended)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_settings.receiveTimeoutMs);
    for (;;) {
        switch (transfer.handler.Receive(transfer.reply, tftp::kMaxPacket, MsLeft(deadline))) {
        case ReceiveStatus::Ok:
            break;
        case ReceiveStatus::Timeout:
            return AckWait::TimedOut;
        case ReceiveStatus::Stopped:
            ended = TftpOutcome::Stopped;
            return AckWait::Ended;
        case ReceiveStatus::Error:
            Say(transfer,
                Format(
                    "tftp: client of %s is gone: %s\n", transfer.file.c_str(), transfer.handler.LastError().c_str()));
            ended = TftpOutcome::ClientGone;
            return AckWait::Ended;
        }
        const tftp::Reply answer = tftp::ParseReply(transfer.reply);
        if (answer.kind == tftp::Reply::Kind::Ack && answer.block == block) {
            return AckWait::Acknowledged;
        }
        if (answer.kind == tftp::Reply::Kind::Error) {
            Say(transfer,
                Format("tftp: client stopped the transfer of %s: error %u %s\n",
                       transfer.file.c_str(),
                       answer.code,
                       tftp::PrintableText(answer.message).c_str()));
            ended = TftpOutcome::ClientError;
            return AckWait::Ended;
        }
        // An acknowledgement of another block (a late duplicate above all) or any other packet is not
        // answered: only a time-out sends the block again. Answering would double every following block
        // (RFC 1123, 4.2.3.1) and let any sender multiply the traffic, as tftpd-hpa also knows.
        if (Clock::now() >= deadline) {
            return AckWait::TimedOut;
        }
    }
}

std::optional<TftpOutcome>
TftpServer::DeliverBlock(Transfer& transfer, std::uint16_t block, std::span<const std::uint8_t> packet)
{
    int retriesLeft = m_settings.retries; // counted per block: scattered losses do not add up
    for (;;) {
        if (!transfer.handler.Send(packet)) {
            Say(transfer,
                Format("tftp: sending %s failed: %s\n", transfer.file.c_str(), transfer.handler.LastError().c_str()));
            return TftpOutcome::ClientGone;
        }
        TftpOutcome ended = TftpOutcome::Sent;
        switch (AwaitAck(transfer, block, ended)) {
        case AckWait::Acknowledged:
            return std::nullopt;
        case AckWait::Ended:
            return ended;
        case AckWait::TimedOut:
            if (retriesLeft == 0) {
                Say(transfer, "timeout exit\n");
                return TftpOutcome::RetriesExhausted;
            }
            Say(transfer, Format("retrying %d more times.\n", retriesLeft--));
            break;
        }
    }
}

TftpOutcome TftpServer::SendFile(Transfer& transfer, FileSource& source)
{
    std::uint8_t data[tftp::kBlockSize];
    std::vector<std::uint8_t> packet;
    std::uint64_t acknowledged = 0;
    for (std::uint16_t block = 1;; ++block) { // wraps from 65535 to 0, so files over 32 MiB go whole
        std::size_t size = 0;
        if (!source.Read(data, sizeof data, size)) {
            const int error = errno;
            AnswerWithError(transfer.handler, tftp::BuildError(SystemErrorCode(error), std::strerror(error)));
            Say(transfer, Format("tftp: reading %s failed: %s\n", transfer.file.c_str(), std::strerror(error)));
            return TftpOutcome::OpenFailed;
        }
        tftp::BuildData(packet, block, std::span(data, size));
        if (const auto ended = DeliverBlock(transfer, block, packet)) {
            return *ended;
        }
        acknowledged += size;
        const bool last = size < tftp::kBlockSize;
        if (transfer.watch != nullptr) {
            if (last) {
                transfer.watch->Finished(acknowledged);
            } else {
                transfer.watch->Acknowledged(acknowledged);
            }
        }
        if (last) {
            return TftpOutcome::Sent;
        }
    }
}

} // namespace boottool
