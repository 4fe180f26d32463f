#include "boottool/tftp/DatagramSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace boottool {

UdpPeerSocket::~UdpPeerSocket()
{
    close(m_fd);
}

std::unique_ptr<UdpPeerSocket>
UdpPeerSocket::Connect(std::uint32_t bindAddress, std::uint32_t peerAddress, std::uint16_t peerPort, std::string& error)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    auto handler = std::make_unique<UdpPeerSocket>(fd);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = bindAddress;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = peerAddress;
    peer.sin_port = htons(peerPort);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0
        || connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    return handler;
}

bool UdpPeerSocket::Send(std::span<const std::uint8_t> packet)
{
    // A refusal of an earlier packet (ICMP) surfaces on the next send; try once more before giving up.
    constexpr int kAttempts = 3;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (send(m_fd, packet.data(), packet.size(), 0) >= 0) {
            return true;
        }
        if (errno != EINTR && errno != ECONNREFUSED) {
            break;
        }
    }
    m_lastError = std::strerror(errno);
    return false;
}

ReceiveStatus UdpPeerSocket::Receive(std::vector<std::uint8_t>& packet, std::size_t limit, int timeoutMs)
{
    packet.resize(limit);
    for (;;) {
        pollfd entries[2] = {{m_fd, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        const int ready = poll(entries, 2, timeoutMs);
        if (ready > 0 && (entries[1].revents & POLLIN) != 0) {
            packet.clear();
            return ReceiveStatus::Stopped;
        }
        if (ready == 0) {
            packet.clear();
            return ReceiveStatus::Timeout;
        }
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        const ssize_t got = ready < 0 ? -1 : recv(m_fd, packet.data(), limit, 0);
        if (got >= 0) {
            packet.resize(static_cast<std::size_t>(got));
            return ReceiveStatus::Ok;
        }
        if (errno == EINTR || errno == EAGAIN) {
            continue;
        }
        m_lastError = std::strerror(errno);
        packet.clear();
        return ReceiveStatus::Error;
    }
}

} // namespace boottool
