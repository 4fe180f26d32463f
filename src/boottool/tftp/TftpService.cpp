#include "boottool/tftp/TftpService.h"

#include "boottool/tftp/ProgressPrinter.h"
#include "boottool/tftp/TftpPacket.h"

#include <algorithm>
#include <array>
#include <cerrno>

using platform::SocketErrorNumber;
using platform::SocketErrorText;
using platform::WaitEntry;

namespace boottool {

TftpService::TftpService(TftpServer& server, TransferTracker& transfers, Console& console, FatalHandler onFatal)
    : m_server(server)
    , m_transfers(transfers)
    , m_console(console)
    , m_strays(console)
    , m_onFatal(std::move(onFatal))
{
    m_server.SetRequestConsole(&m_strays);
}

TftpService::~TftpService()
{
    Stop();
    m_server.SetRequestConsole(nullptr);
    platform::CloseSocket(m_listen);
}

bool TftpService::Start(const std::string& bindAddress, std::uint16_t port, std::string& error)
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    if (inet_pton(AF_INET, bindAddress.c_str(), &local.sin_addr) != 1) {
        m_startError = EINVAL;
        error = "bad address " + bindAddress;
        return false;
    }
    m_bindAddress = local.sin_addr.s_addr;
    m_listen = platform::OpenUdpSocket();
    platform::SocketLength length = sizeof local;
    if (m_listen == platform::kNoSocket || bind(m_listen, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0
        || getsockname(m_listen, reinterpret_cast<sockaddr*>(&local), &length) != 0
        || !platform::SetNonBlocking(m_listen) || !m_wake.Open()) {
        m_startError = SocketErrorNumber();
        error = SocketErrorText();
        return false;
    }
    m_port = ntohs(local.sin_port);
    m_thread = std::thread([this] { Loop(); });
    return true;
}

void TftpService::Stop()
{
    if (m_thread.joinable()) {
        m_stop = true;
        m_wake.Notify();
        m_thread.join();
    }
    ReapWorkers(true);
    m_strays.FlushPending(); // the run's output ends with the count of a flood still going on
}

void TftpService::Loop()
{
    while (!m_stop) {
        std::array<WaitEntry, 2> entries{WaitEntry{m_listen}, WaitEntry{m_wake.Handle()}};
        // Wakes up for the count of ignored packets as well, so it shows once the flood is over.
        const int ready = platform::WaitReadable(entries, m_strays.MsUntilFlush());
        if (ready < 0 && SocketErrorNumber() != EINTR) {
            return;
        }
        if (m_stop) {
            return;
        }
        m_strays.Flush();
        if (ready > 0 && entries[0].readable) {
            ReceiveOne();
        }
        ReapWorkers(false);
    }
}

void TftpService::ReceiveOne()
{
    std::vector<std::uint8_t> request(tftp::kMaxPacket);
    sockaddr_in peer{};
    const std::ptrdiff_t got = platform::ReceiveFrom(m_listen, request, peer);
    if (got < 0) {
        return;
    }
    request.resize(static_cast<std::size_t>(got));
    const std::uint32_t address = peer.sin_addr.s_addr;
    const std::uint16_t port = ntohs(peer.sin_port);
    // A client that repeats its request is being served already: a second transfer would only clash.
    if (ServingAlready(address, port)) {
        return;
    }
    std::string error;
    auto handler = UdpPeerSocket::Connect(m_bindAddress, address, port, error);
    if (!handler) {
        m_strays.Out(Format("tftp: no socket for the transfer: %s\n", error.c_str()));
        if (m_transfers.IsBoard(address)) {
            EndRun(TftpOutcome::ClientGone);
        }
        return;
    }
    // The run's end must not wait for a transfer that is still retrying.
    handler->SetStopSignal(m_wake.Handle());
    std::optional<std::string> file = m_server.FileToServe(request);
    if (!file) {
        // Answered (or ignored) at once; how it ended has been printed, and the service goes on either way.
        (void)m_server.Handle(request, *handler);
        return;
    }
    if (!HasRoomFor(m_transfers.IsBoard(address))) {
        m_strays.Out(Format("tftp: too many transfers, refused %s.\n", tftp::PrintableText(*file).c_str()));
        // Like every ERROR packet, it is neither acknowledged nor sent again.
        (void)handler->Send(tftp::BuildError(tftp::ErrorCode::NotDefined, "Too many transfers, try again later"));
        return;
    }
    StartTransfer(std::move(handler), std::move(request), std::move(*file), address, port);
}

bool TftpService::ServingAlready(std::uint32_t address, std::uint16_t port) const
{
    return std::any_of(m_workers.begin(), m_workers.end(), [&](const Worker& worker) {
        return !worker.done && worker.address == address && worker.port == port;
    });
}

bool TftpService::HasRoomFor(bool board) const
{
    std::size_t all = 0;
    std::size_t others = 0;
    for (const Worker& worker : m_workers) {
        if (!worker.done) {
            ++all;
            others += worker.board ? 0 : 1;
        }
    }
    return all < kMaxTransfers && (board || others < kMaxOtherTransfers);
}

void TftpService::StartTransfer(std::unique_ptr<UdpPeerSocket> handler,
                                std::vector<std::uint8_t> request,
                                std::string file,
                                std::uint32_t address,
                                std::uint16_t port)
{
    Worker& worker = m_workers.emplace_back();
    worker.address = address;
    worker.port = port;
    worker.board = m_transfers.IsBoard(address);
    worker.thread = std::thread(
        [this, &worker, socket = std::move(handler), packet = std::move(request), name = std::move(file)] {
            RunTransfer(worker, *socket, packet, name);
        });
}

void TftpService::RunTransfer(Worker& worker,
                              UdpPeerSocket& handler,
                              const std::vector<std::uint8_t>& request,
                              const std::string& file)
{
    ProgressPrinter progress(m_console);
    const TransferTracker::Id id = m_transfers.Begin(file, worker.address);
    const TftpOutcome outcome = m_server.Handle(request, handler, worker.board ? &progress : nullptr);
    m_transfers.End(id, outcome == TftpOutcome::Sent);
    // A client that stops answering ends its own transfer; the board's ends the run, which cannot go on.
    if (outcome == TftpOutcome::RetriesExhausted && worker.board) {
        EndRun(outcome);
    }
    worker.done = true;
}

void TftpService::EndRun(TftpOutcome outcome)
{
    m_stop = true;
    m_wake.Notify();
    m_onFatal(outcome);
}

void TftpService::ReapWorkers(bool all)
{
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if (all || it->done) {
            it->thread.join();
            it = m_workers.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace boottool
