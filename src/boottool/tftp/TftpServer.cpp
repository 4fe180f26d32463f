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
    , m_settings(settings)
{ }

TftpOutcome TftpServer::Handle(std::span<const std::uint8_t> packet, DatagramSocket& handler)
{
    const tftp::Request request = tftp::ParseRequest(packet);
    if (request.fault == tftp::RequestFault::UnknownOpcode) {
        m_console.Out(Format("tftp: unknown request opcode %u, ignored.\n", static_cast<unsigned>(request.opcode)));
        AnswerWithError(handler, tftp::BuildError(tftp::ErrorCode::IllegalOperation, "Illegal TFTP operation"));
        return TftpOutcome::BadRequest;
    }
    if (request.fault != tftp::RequestFault::None) {
        m_console.Out("tftp: malformed request, ignored.\n");
        AnswerWithError(handler, tftp::BuildError(tftp::ErrorCode::IllegalOperation, "Illegal TFTP operation"));
        return TftpOutcome::BadRequest;
    }
    const tftp::Mode mode = tftp::ModeOf(request.mode);
    if (mode == tftp::Mode::Unknown) {
        const std::string shown = tftp::PrintableText(request.mode);
        m_console.Out(Format("%s==netascii?%d\n%s==octet?%d\n",
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
        m_console.Out(
            Format("tftp: refused %s, not a file of this download.\n", tftp::PrintableText(request.file).c_str()));
        AnswerWithError(handler, tftp::BuildError(tftp::ErrorCode::AccessViolation, "Access violation"));
        return TftpOutcome::Refused;
    }
    return Serve(request.file, mode == tftp::Mode::Netascii, handler);
}

TftpOutcome TftpServer::Serve(const std::string& file, bool netascii, DatagramSocket& handler)
{
    OpenedFile opened = m_storage.Open(file);
    if (!opened.source) {
        AnswerWithError(handler, tftp::BuildError(OpenErrorCode(opened.error), std::strerror(opened.error)));
        m_console.Out(Format("No Found file: %s\n", file.c_str()));
        return TftpOutcome::OpenFailed;
    }
    if (netascii) {
        NetasciiSource converted(std::move(opened.source));
        return SendFile(file, converted, handler);
    }
    return SendFile(file, *opened.source, handler);
}

TftpServer::AckWait
TftpServer::AwaitAck(const std::string& file, std::uint16_t block, DatagramSocket& handler, TftpOutcome& ended)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_settings.receiveTimeoutMs);
    for (;;) {
        switch (handler.Receive(m_reply, tftp::kMaxPacket, MsLeft(deadline))) {
        case ReceiveStatus::Ok:
            break;
        case ReceiveStatus::Timeout:
            return AckWait::TimedOut;
        case ReceiveStatus::Stopped:
            ended = TftpOutcome::Stopped;
            return AckWait::Ended;
        case ReceiveStatus::Error:
            m_console.Out(Format("tftp: client of %s is gone: %s\n", file.c_str(), handler.LastError().c_str()));
            ended = TftpOutcome::ClientGone;
            return AckWait::Ended;
        }
        const tftp::Reply answer = tftp::ParseReply(m_reply);
        if (answer.kind == tftp::Reply::Kind::Ack && answer.block == block) {
            return AckWait::Acknowledged;
        }
        // A late duplicate of the previous acknowledgement: answering it would double every following
        // block (RFC 1123, 4.2.3.1). Keep waiting; only a time-out sends again.
        if (answer.kind == tftp::Reply::Kind::Ack && answer.block == static_cast<std::uint16_t>(block - 1)) {
            continue;
        }
        if (answer.kind == tftp::Reply::Kind::Error) {
            m_console.Out(Format("tftp: client stopped the transfer of %s: error %u %s\n",
                                 file.c_str(),
                                 answer.code,
                                 tftp::PrintableText(answer.message).c_str()));
            ended = TftpOutcome::ClientError;
            return AckWait::Ended;
        }
        return AckWait::SendAgain; // anything else: the block goes again at once, without counting
    }
}

std::optional<TftpOutcome> TftpServer::DeliverBlock(const std::string& file,
                                                    std::uint16_t block,
                                                    std::span<const std::uint8_t> packet,
                                                    DatagramSocket& handler)
{
    int retriesLeft = m_settings.retries; // counted per block: scattered losses do not add up
    for (;;) {
        if (!handler.Send(packet)) {
            m_console.Out(Format("tftp: sending %s failed: %s\n", file.c_str(), handler.LastError().c_str()));
            return TftpOutcome::ClientGone;
        }
        TftpOutcome ended = TftpOutcome::Sent;
        switch (AwaitAck(file, block, handler, ended)) {
        case AckWait::Acknowledged:
            return std::nullopt;
        case AckWait::SendAgain:
            break;
        case AckWait::Ended:
            return ended;
        case AckWait::TimedOut:
            if (retriesLeft == 0) {
                m_console.Out("timeout exit\n");
                return TftpOutcome::RetriesExhausted;
            }
            m_console.Out(Format("retrying %d more times.\n", retriesLeft--));
            break;
        }
    }
}

TftpOutcome TftpServer::SendFile(const std::string& file, FileSource& source, DatagramSocket& handler)
{
    std::uint8_t data[tftp::kBlockSize];
    std::vector<std::uint8_t> packet;
    for (std::uint16_t block = 1;; ++block) { // wraps from 65535 to 0, so files over 32 MiB go whole
        std::size_t size = 0;
        if (!source.Read(data, sizeof data, size)) {
            const int error = errno;
            AnswerWithError(handler, tftp::BuildError(SystemErrorCode(error), std::strerror(error)));
            m_console.Out(Format("tftp: reading %s failed: %s\n", file.c_str(), std::strerror(error)));
            return TftpOutcome::OpenFailed;
        }
        tftp::BuildData(packet, block, std::span(data, size));
        if (const auto ended = DeliverBlock(file, block, packet, handler)) {
            return *ended;
        }
        if (size < tftp::kBlockSize) {
            return TftpOutcome::Sent;
        }
    }
}

} // namespace boottool
