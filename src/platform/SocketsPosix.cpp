#include "platform/Sockets.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace platform {

SocketLibrary::SocketLibrary()
    : m_started(true)
{ }

SocketLibrary::~SocketLibrary() = default;

SocketHandle OpenUdpSocket()
{
    return ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
}

void CloseSocket(SocketHandle socket)
{
    if (socket != kNoSocket) {
        ::close(socket);
    }
}

bool SetNonBlocking(SocketHandle socket)
{
    const int flags = ::fcntl(socket, F_GETFL);
    return flags >= 0 && ::fcntl(socket, F_SETFL, flags | O_NONBLOCK) == 0;
}

std::ptrdiff_t SendOn(SocketHandle socket, std::span<const std::uint8_t> packet)
{
    return ::send(socket, packet.data(), packet.size(), 0);
}

std::ptrdiff_t ReceiveOn(SocketHandle socket, std::span<std::uint8_t> buffer)
{
    return ::recv(socket, buffer.data(), buffer.size(), 0);
}

std::ptrdiff_t ReceiveFrom(SocketHandle socket, std::span<std::uint8_t> buffer, sockaddr_in& peer)
{
    socklen_t length = sizeof peer;
    return ::recvfrom(socket, buffer.data(), buffer.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&peer), &length);
}

int SocketErrorNumber()
{
    return errno;
}

std::string SocketErrorText()
{
    return std::strerror(errno);
}

int WaitReadable(std::span<WaitEntry> entries, int timeoutMs)
{
    std::vector<pollfd> polled;
    polled.reserve(entries.size());
    for (const WaitEntry& entry : entries) {
        polled.push_back({entry.handle, POLLIN, 0});
    }
    const int ready = ::poll(polled.data(), polled.size(), timeoutMs);
    for (std::size_t index = 0; index < entries.size(); ++index) {
        entries[index].readable = ready > 0 && (polled[index].revents & (POLLIN | POLLERR | POLLHUP)) != 0;
    }
    return ready;
}

bool ReadIpv4(const std::string& text, in_addr& address)
{
    return !text.empty() && ::inet_aton(text.c_str(), &address) != 0;
}

} // namespace platform
