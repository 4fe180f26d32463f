#pragma once

#include "boottool/Console.h"
#include "boottool/tftp/DatagramSocket.h"
#include "boottool/tftp/StrayLineLimiter.h"
#include "boottool/tftp/TftpServer.h"
#include "boottool/tftp/TransferTracker.h"
#include "platform/Sockets.h"
#include "platform/WakeSignal.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace boottool {

// The TFTP server's own threads: a listening UDP socket that answers refused and malformed requests at
// once, and a thread per transfer with a socket, time-out and retry count of its own, so a client that
// stops answering holds up nobody else.
class TftpService
{
public:
    // Called on a transfer's thread when the board's transfer ends the run ("timeout exit").
    using FatalHandler = std::function<void(TftpOutcome)>;

    TftpService(TftpServer& server, TransferTracker& transfers, Console& console, FatalHandler onFatal);
    ~TftpService();
    TftpService(const TftpService&) = delete;
    TftpService& operator=(const TftpService&) = delete;

    // Binds the listening socket (bindAddress in dotted form; port 0 picks a free one) and starts the
    // thread; on failure `error` gets the system's text and StartError() its errno.
    [[nodiscard]] bool Start(const std::string& bindAddress, std::uint16_t port, std::string& error);
    int StartError() const { return m_startError; }
    // The bound port.
    std::uint16_t Port() const { return m_port; }
    // Stops the threads; transfers still going on end at once.
    void Stop();

    // Transfers at once: in all, and to clients other than the board (the rest stay free for the board).
    static constexpr std::size_t kMaxTransfers = 8;
    static constexpr std::size_t kMaxOtherTransfers = 4;

private:
    struct Worker
    {
        std::uint32_t address = 0; // network order
        std::uint16_t port = 0; // host order
        bool board = false;
        std::atomic<bool> done{false};
        std::thread thread;
    };

    void Loop();
    void ReceiveOne();
    [[nodiscard]] bool ServingAlready(std::uint32_t address, std::uint16_t port) const;
    [[nodiscard]] bool HasRoomFor(bool board) const;
    void StartTransfer(std::unique_ptr<UdpPeerSocket> handler,
                       std::vector<std::uint8_t> request,
                       std::string file,
                       std::uint32_t address,
                       std::uint16_t port);
    void RunTransfer(Worker& worker,
                     UdpPeerSocket& handler,
                     const std::vector<std::uint8_t>& request,
                     const std::string& file);
    void EndRun(TftpOutcome outcome);
    void ReapWorkers(bool all);

    TftpServer& m_server;
    TransferTracker& m_transfers;
    Console& m_console;
    StrayLineLimiter m_strays;
    FatalHandler m_onFatal;
    platform::SocketHandle m_listen = platform::kNoSocket;
    platform::WakeSignal m_wake; // ends every wait of the service's threads
    std::uint32_t m_bindAddress = 0;
    std::uint16_t m_port = 0;
    int m_startError = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::list<Worker> m_workers; // touched by the listening thread only (and by Stop after it)
};

} // namespace boottool
