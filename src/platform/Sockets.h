#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

// The UDP sockets of the TFTP server: BSD sockets on POSIX systems, Winsock 2.2 on Windows. Addresses
// and ports are the system's own types (sockaddr_in, network order); errors are errno values.
namespace platform {

#ifdef _WIN32
using SocketHandle = SOCKET;
using SocketLength = int;
#else
using SocketHandle = int;
using SocketLength = socklen_t;
#endif
inline constexpr SocketHandle kNoSocket = static_cast<SocketHandle>(-1);

// The sockets library, started for as long as the object lives (Winsock 2.2 on Windows; nothing to
// start elsewhere).
class SocketLibrary
{
public:
    SocketLibrary();
    ~SocketLibrary();
    SocketLibrary(const SocketLibrary&) = delete;
    SocketLibrary& operator=(const SocketLibrary&) = delete;

    [[nodiscard]] bool Started() const { return m_started; }

private:
    bool m_started = false;
};

// A UDP socket that programs the process starts do not inherit; kNoSocket on failure.
[[nodiscard]] SocketHandle OpenUdpSocket();
void CloseSocket(SocketHandle socket);
// Receives never wait: with nothing there, ReceiveFrom fails with EAGAIN.
[[nodiscard]] bool SetNonBlocking(SocketHandle socket);
[[nodiscard]] std::ptrdiff_t SendOn(SocketHandle socket, std::span<const std::uint8_t> packet);
[[nodiscard]] std::ptrdiff_t ReceiveOn(SocketHandle socket, std::span<std::uint8_t> buffer);
[[nodiscard]] std::ptrdiff_t ReceiveFrom(SocketHandle socket, std::span<std::uint8_t> buffer, sockaddr_in& peer);

// The last socket failure as an errno value (EADDRINUSE, ECONNREFUSED, EINTR, EAGAIN, ...) and the
// system's text for it; read them right after the failing call.
[[nodiscard]] int SocketErrorNumber();
[[nodiscard]] std::string SocketErrorText();

// One handle to wait on, and whether it became readable.
struct WaitEntry
{
    SocketHandle handle = kNoSocket;
    bool readable = false;
};

// Waits until one of the handles can be read or timeoutMs passes (-1: no limit). Returns how many are
// readable, 0 after the time-out, -1 on failure (EINTR included).
[[nodiscard]] int WaitReadable(std::span<WaitEntry> entries, int timeoutMs);

// Reads an IPv4 address as inet_aton does ("a.b.c.d", also "a.b.c", "a.b" and "a", each part decimal,
// octal with a leading 0 or hexadecimal with 0x; text after a blank is ignored). False when it is none.
[[nodiscard]] bool ReadIpv4(const std::string& text, in_addr& address);

} // namespace platform
