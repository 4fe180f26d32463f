#pragma once

#include "boottool/tftp/TftpPacket.h"

#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace boottool {

// A TFTP client on a UDP socket of its own, from a chosen loopback address: for the clients the real
// ones never play (silent, wrong, flooding) and for a board's address.
class RawTftpClient
{
public:
    struct Packet
    {
        std::vector<std::uint8_t> bytes;
        std::uint16_t fromPort = 0;

        [[nodiscard]] bool IsData(std::uint16_t block) const
        {
            return bytes.size() >= 4 && bytes[1] == 3 && ((bytes[2] << 8) | bytes[3]) == block;
        }
    };

    explicit RawTftpClient(const char* address = "127.0.0.1")
        : m_fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, address, &local.sin_addr);
        bound = bind(m_fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
    }
    ~RawTftpClient() { close(m_fd); }
    RawTftpClient(const RawTftpClient&) = delete;
    RawTftpClient& operator=(const RawTftpClient&) = delete;

    // Sends bytes to a port of 127.0.0.1 (the server's listening port, or a transfer's).
    void SendTo(std::uint16_t port, const std::vector<std::uint8_t>& bytes) const
    {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        sendto(m_fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
    void Request(std::uint16_t port, const std::string& file) const
    {
        SendTo(port, tftp::BuildRequest(tftp::Opcode::ReadRequest, file, "octet"));
    }
    // The next packet that arrives within timeoutMs.
    [[nodiscard]] std::optional<Packet> Receive(int timeoutMs) const
    {
        pollfd entry{m_fd, POLLIN, 0};
        if (poll(&entry, 1, timeoutMs) <= 0) {
            return std::nullopt;
        }
        Packet packet;
        packet.bytes.resize(tftp::kMaxPacket + 100);
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t got
            = recvfrom(m_fd, packet.bytes.data(), packet.bytes.size(), 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0) {
            return std::nullopt;
        }
        packet.bytes.resize(static_cast<std::size_t>(got));
        packet.fromPort = ntohs(from.sin_port);
        return packet;
    }
    // Fetches a file in octet mode as a well-behaved client: its bytes, or "ERROR <code>", or what came
    // before the server fell silent.
    [[nodiscard]] std::string Fetch(std::uint16_t port, const std::string& file, int timeoutMs = 5000) const
    {
        Request(port, file);
        std::string data;
        for (std::uint16_t block = 1;; ++block) {
            std::optional<Packet> packet = Receive(timeoutMs);
            while (packet && !packet->IsData(block) && packet->bytes.size() >= 2 && packet->bytes[1] != 5) {
                packet = Receive(timeoutMs);
            }
            if (!packet) {
                return data;
            }
            if (packet->bytes[1] == 5) {
                return "ERROR " + std::to_string((packet->bytes[2] << 8) | packet->bytes[3]);
            }
            data.append(packet->bytes.begin() + 4, packet->bytes.end());
            SendTo(packet->fromPort, tftp::BuildAck(block));
            if (packet->bytes.size() < tftp::kMaxPacket) {
                return data;
            }
        }
    }

    bool bound = false;

private:
    int m_fd;
};

} // namespace boottool
