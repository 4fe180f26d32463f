#pragma once

#include "boottool/Console.h"
#include "boottool/tftp/TftpServer.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace boottool {

// The TFTP server's own thread: a listening UDP socket that takes one request at a time and serves it
// on a socket of its own.
class TftpService
{
public:
    // Called on the service thread when a transfer ends the run ("timeout exit", a handler socket failure).
    using FatalHandler = std::function<void(TftpOutcome)>;

    TftpService(TftpServer& server, Console& console, FatalHandler onFatal);
    ~TftpService();
    TftpService(const TftpService&) = delete;
    TftpService& operator=(const TftpService&) = delete;

    // Binds the listening socket (bindAddress in dotted form; port 0 picks a free one) and starts the thread.
    [[nodiscard]] bool Start(const std::string& bindAddress, std::uint16_t port, std::string& error);
    // The bound port.
    std::uint16_t Port() const { return m_port; }
    // Stops the thread after the transfer in progress.
    void Stop();

private:
    void Loop();
    void HandleOne();

    TftpServer& m_server;
    Console& m_console;
    FatalHandler m_onFatal;
    int m_listen = -1;
    int m_wake[2] = {-1, -1}; // a pipe that ends the wait on the listening socket
    std::uint32_t m_bindAddress = 0;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace boottool
