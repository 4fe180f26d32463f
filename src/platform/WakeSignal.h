#pragma once

#include "platform/Sockets.h"

namespace platform {

// Ends the waits of other threads at once: its handle becomes readable when Notify is called and stays
// so. A pipe on POSIX systems; on Windows, where only sockets can be waited on together, a UDP socket
// on the loopback address that sends itself a byte.
class WakeSignal
{
public:
    WakeSignal() = default;
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    // False (the system's error in SocketErrorNumber/SocketErrorText) when it cannot be made.
    [[nodiscard]] bool Open();
    void Notify();
    // The handle to wait on among sockets (WaitReadable).
    [[nodiscard]] SocketHandle Handle() const { return m_read; }

private:
    SocketHandle m_read = kNoSocket;
    SocketHandle m_write = kNoSocket;
};

} // namespace platform
