#include "platform/WakeSignal.h"

namespace platform {

WakeSignal::~WakeSignal()
{
    CloseSocket(m_read);
}

bool WakeSignal::Open()
{
    m_read = OpenUdpSocket();
    if (m_read == kNoSocket) {
        return false;
    }
    sockaddr_in self{};
    self.sin_family = AF_INET;
    self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof self;
    // Bound to a free loopback port and connected to itself: only its own byte can arrive.
    if (bind(m_read, reinterpret_cast<const sockaddr*>(&self), sizeof self) != 0
        || getsockname(m_read, reinterpret_cast<sockaddr*>(&self), &length) != 0
        || connect(m_read, reinterpret_cast<const sockaddr*>(&self), sizeof self) != 0) {
        CloseSocket(m_read);
        m_read = kNoSocket;
        return false;
    }
    m_write = m_read;
    return true;
}

void WakeSignal::Notify()
{
    const std::uint8_t byte = 0;
    (void)SendOn(m_write, std::span(&byte, 1)); // a full buffer means a byte is waiting already
}

} // namespace platform
