#include "platform/WakeSignal.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform {

WakeSignal::~WakeSignal()
{
    for (const SocketHandle fd : {m_read, m_write}) {
        if (fd != kNoSocket) {
            ::close(fd);
        }
    }
}

bool WakeSignal::Open()
{
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return false;
    }
    m_read = ends[0];
    m_write = ends[1];
    return true;
}

void WakeSignal::Notify()
{
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(m_write, &byte, 1);
}

} // namespace platform
