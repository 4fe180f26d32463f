#pragma once

#include "platform/Sockets.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace boottool {

enum class ReceiveStatus {
    Ok,
    Timeout,
    Error,
    Stopped, // the server is shutting down; the transfer is abandoned
};

// One side of a TFTP transfer: a socket talking to a single peer.
class DatagramSocket
{
public:
    virtual ~DatagramSocket() = default;
    [[nodiscard]] virtual bool Send(std::span<const std::uint8_t> packet) = 0;
    // Receives one packet of at most `limit` bytes, waiting up to timeoutMs.
    [[nodiscard]] virtual ReceiveStatus Receive(std::vector<std::uint8_t>& packet, std::size_t limit, int timeoutMs)
        = 0;
    virtual std::string LastError() const = 0;
};

// A UDP socket bound to a free port and connected to one peer (the transfer's own port, as RFC 1350 asks).
class UdpPeerSocket : public DatagramSocket
{
public:
    ~UdpPeerSocket() override;
    UdpPeerSocket(const UdpPeerSocket&) = delete;
    UdpPeerSocket& operator=(const UdpPeerSocket&) = delete;

    // bindAddress and peer are IPv4 addresses in network order, ports in host order.
    [[nodiscard]] static std::unique_ptr<UdpPeerSocket>
    Connect(std::uint32_t bindAddress, std::uint32_t peerAddress, std::uint16_t peerPort, std::string& error);

    [[nodiscard]] bool Send(std::span<const std::uint8_t> packet) override;
    [[nodiscard]] ReceiveStatus Receive(std::vector<std::uint8_t>& packet, std::size_t limit, int timeoutMs) override;
    std::string LastError() const override { return m_lastError; }

    // A handle that becomes readable when the server stops; waits end at once then.
    void SetStopSignal(platform::SocketHandle stop) { m_stop = stop; }

    // Takes ownership of an open socket.
    explicit UdpPeerSocket(platform::SocketHandle socket)
        : m_socket(socket)
    { }

private:
    platform::SocketHandle m_socket;
    platform::SocketHandle m_stop = platform::kNoSocket;
    std::string m_lastError;
};

} // namespace boottool
