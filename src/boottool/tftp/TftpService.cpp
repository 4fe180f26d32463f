#include "boottool/tftp/TftpService.h"

#include "boottool/tftp/TftpPacket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace boottool {

TftpService::TftpService(TftpServer& server, Console& console, FatalHandler onFatal)
    : m_server(server)
    , m_console(console)
    , m_onFatal(std::move(onFatal))
{ }

TftpService::~TftpService()
{
    Stop();
    if (m_listen >= 0) {
        close(m_listen);
    }
    for (const int fd : m_wake) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

bool TftpService::Start(const std::string& bindAddress, std::uint16_t port, std::string& error)
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    if (inet_pton(AF_INET, bindAddress.c_str(), &local.sin_addr) != 1) {
        error = "bad address " + bindAddress;
        return false;
    }
    m_bindAddress = local.sin_addr.s_addr;
    m_listen = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    socklen_t length = sizeof local;
    if (m_listen < 0 || bind(m_listen, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0
        || getsockname(m_listen, reinterpret_cast<sockaddr*>(&local), &length) != 0 || pipe2(m_wake, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    m_port = ntohs(local.sin_port);
    m_thread = std::thread([this] { Loop(); });
    return true;
}

void TftpService::Stop()
{
    if (!m_thread.joinable()) {
        return;
    }
    m_stop = true;
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = write(m_wake[1], &byte, 1);
    m_thread.join();
}

void TftpService::Loop()
{
    while (!m_stop) {
        pollfd entries[2] = {{m_listen, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        const int ready = poll(entries, 2, -1);
        if (ready < 0 && errno != EINTR) {
            return;
        }
        if (m_stop) {
            return;
        }
        if (ready > 0 && (entries[0].revents & POLLIN) != 0) {
            HandleOne();
        }
    }
}

void TftpService::HandleOne()
{
    std::vector<std::uint8_t> request(tftp::kMaxPacket);
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    const ssize_t got
        = recvfrom(m_listen, request.data(), request.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&peer), &length);
    if (got < 0) {
        return;
    }
    request.resize(static_cast<std::size_t>(got));
    std::string error;
    auto handler = UdpPeerSocket::Connect(m_bindAddress, peer.sin_addr.s_addr, ntohs(peer.sin_port), error);
    if (!handler) {
        m_console.Out(Format("tftp: no socket for the transfer: %s\n", error.c_str()));
        m_stop = true;
        m_onFatal(TftpOutcome::ClientGone);
        return;
    }
    // The run's end must not wait for a transfer that is still retrying.
    handler->SetStopSignal(m_wake[0]);
    const TftpOutcome outcome = m_server.Handle(request, *handler);
    if (outcome == TftpOutcome::RetriesExhausted) {
        m_stop = true;
        m_onFatal(outcome);
    }
}

} // namespace boottool
