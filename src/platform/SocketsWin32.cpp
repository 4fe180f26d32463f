#include "platform/Sockets.h"

#include "platform/ClassicIpv4.h"
#include "platform/Win32Error.h"

#include <cerrno>
#include <vector>

namespace platform {

namespace {

[[nodiscard]] int ErrnoOf(int code)
{
    switch (code) {
    case WSAEINTR:
        return EINTR;
    case WSAEWOULDBLOCK:
        return EAGAIN;
    case WSAEADDRINUSE:
        return EADDRINUSE;
    case WSAEADDRNOTAVAIL:
        return EADDRNOTAVAIL;
    case WSAECONNREFUSED:
    case WSAECONNRESET: // a UDP socket's answer to an ICMP "port unreachable"
        return ECONNREFUSED;
    case WSAEACCES:
        return EACCES;
    case WSAEMSGSIZE:
        return EMSGSIZE;
    case WSAENETUNREACH:
    case WSAEHOSTUNREACH:
        return ENETUNREACH;
    case WSAEINVAL:
        return EINVAL;
    default:
        return EIO;
    }
}

} // namespace

SocketLibrary::SocketLibrary()
{
    WSADATA data{};
    m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (m_started && (LOBYTE(data.wVersion) != 2 || HIBYTE(data.wVersion) != 2)) {
        WSACleanup();
        m_started = false;
    }
}

SocketLibrary::~SocketLibrary()
{
    if (m_started) {
        WSACleanup();
    }
}

SocketHandle OpenUdpSocket()
{
    return WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
}

void CloseSocket(SocketHandle socket)
{
    if (socket != kNoSocket) {
        closesocket(socket);
    }
}

bool SetNonBlocking(SocketHandle socket)
{
    u_long on = 1;
    return ioctlsocket(socket, FIONBIO, &on) == 0;
}

std::ptrdiff_t SendOn(SocketHandle socket, std::span<const std::uint8_t> packet)
{
    return ::send(socket, reinterpret_cast<const char*>(packet.data()), static_cast<int>(packet.size()), 0);
}

std::ptrdiff_t ReceiveOn(SocketHandle socket, std::span<std::uint8_t> buffer)
{
    return ::recv(socket, reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()), 0);
}

std::ptrdiff_t ReceiveFrom(SocketHandle socket, std::span<std::uint8_t> buffer, sockaddr_in& peer)
{
    // The caller made the socket non-blocking (Windows has no per-call flag for it).
    int length = sizeof peer;
    return ::recvfrom(socket,
                      reinterpret_cast<char*>(buffer.data()),
                      static_cast<int>(buffer.size()),
                      0,
                      reinterpret_cast<sockaddr*>(&peer),
                      &length);
}

int SocketErrorNumber()
{
    return ErrnoOf(WSAGetLastError());
}

std::string SocketErrorText()
{
    const int code = WSAGetLastError();
    std::string message = Win32ErrorText(static_cast<unsigned long>(code));
    WSASetLastError(code); // the text must not change what SocketErrorNumber reads
    return message;
}

int WaitReadable(std::span<WaitEntry> entries, int timeoutMs)
{
    std::vector<WSAPOLLFD> polled;
    polled.reserve(entries.size());
    for (const WaitEntry& entry : entries) {
        polled.push_back({entry.handle, POLLRDNORM, 0});
    }
    const int ready = WSAPoll(polled.data(), static_cast<ULONG>(polled.size()), timeoutMs);
    for (std::size_t index = 0; index < entries.size(); ++index) {
        entries[index].readable = ready > 0 && (polled[index].revents & (POLLRDNORM | POLLERR | POLLHUP)) != 0;
    }
    return ready == SOCKET_ERROR ? -1 : ready;
}

bool ReadIpv4(const std::string& text, in_addr& address)
{
    std::uint32_t host = 0;
    if (!ParseClassicIpv4(text, host)) {
        return false;
    }
    address.s_addr = htonl(host);
    return true;
}

} // namespace platform
