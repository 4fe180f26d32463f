#include "boottool/tftp/DatagramSocket.h"

#include <array>
#include <cerrno>

using platform::SocketErrorNumber;
using platform::SocketErrorText;
using platform::WaitEntry;

namespace boottool {

UdpPeerSocket::~UdpPeerSocket()
{
    platform::CloseSocket(m_socket);
}

std::unique_ptr<UdpPeerSocket>
UdpPeerSocket::Connect(std::uint32_t bindAddress, std::uint32_t peerAddress, std::uint16_t peerPort, std::string& error)
{
    const platform::SocketHandle socket = platform::OpenUdpSocket();
    if (socket == platform::kNoSocket) {
        error = SocketErrorText();
        return nullptr;
    }
    auto handler = std::make_unique<UdpPeerSocket>(socket);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = bindAddress;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = peerAddress;
    peer.sin_port = htons(peerPort);
    if (bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0
        || connect(socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        error = SocketErrorText();
        return nullptr;
    }
    return handler;
}

bool UdpPeerSocket::Send(std::span<const std::uint8_t> packet)
{
    // A refusal of an earlier packet (ICMP) surfaces on the next send; try once more before giving up.
    constexpr int kAttempts = 3;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (platform::SendOn(m_socket, packet) >= 0) {
            return true;
        }
        const int error = SocketErrorNumber();
        if (error != EINTR && error != ECONNREFUSED) {
            break;
        }
    }
    m_lastError = SocketErrorText();
    return false;
}

ReceiveStatus UdpPeerSocket::Receive(std::vector<std::uint8_t>& packet, std::size_t limit, int timeoutMs)
{
    packet.resize(limit);
    for (;;) {
        std::array<WaitEntry, 2> entries{WaitEntry{m_socket}, WaitEntry{m_stop}};
        const int ready
            = platform::WaitReadable(std::span(entries.data(), m_stop == platform::kNoSocket ? 1 : 2), timeoutMs);
        if (ready > 0 && entries[1].readable) {
            packet.clear();
            return ReceiveStatus::Stopped;
        }
        if (ready == 0) {
            packet.clear();
            return ReceiveStatus::Timeout;
        }
        if (ready < 0 && SocketErrorNumber() == EINTR) {
            continue;
        }
        const std::ptrdiff_t got = ready < 0 ? -1 : platform::ReceiveOn(m_socket, std::span(packet.data(), limit));
        if (got >= 0) {
            packet.resize(static_cast<std::size_t>(got));
            return ReceiveStatus::Ok;
        }
        const int error = SocketErrorNumber();
        if (error == EINTR || error == EAGAIN) {
            continue;
        }
        m_lastError = SocketErrorText();
        packet.clear();
        return ReceiveStatus::Error;
    }
}

} // namespace boottool
