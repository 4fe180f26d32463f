#include "boottool/PosixSerialPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace boottool {

PosixSerialPort::~PosixSerialPort()
{
    if (m_fd >= 0) {
        close(m_fd);
    }
}

bool PosixSerialPort::Open(const std::string& path)
{
    m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        m_lastError = std::strerror(errno);
        return false;
    }
    return true;
}

bool PosixSerialPort::Configure()
{
    termios settings{};
    if (tcgetattr(m_fd, &settings) != 0) {
        m_lastError = std::strerror(errno);
        return false;
    }
    cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (cfsetispeed(&settings, B115200) != 0 || cfsetospeed(&settings, B115200) != 0
        || tcsetattr(m_fd, TCSANOW, &settings) != 0) {
        m_lastError = std::strerror(errno);
        return false;
    }
    // Bytes left from before the run (an earlier session, a board already talking) would confuse the waits.
    tcflush(m_fd, TCIOFLUSH);
    return true;
}

PortStatus PosixSerialPort::Fail(PortStatus status)
{
    m_lastError = std::strerror(errno);
    return status;
}

PortStatus PosixSerialPort::Read(std::span<std::uint8_t> buffer, std::size_t& received, int timeoutMs)
{
    received = 0;
    for (;;) {
        pollfd entry{m_fd, POLLIN, 0};
        const int ready = poll(&entry, 1, timeoutMs);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(PortStatus::Error);
        }
        if (ready == 0) {
            return PortStatus::Timeout;
        }
        const ssize_t got = read(m_fd, buffer.data(), buffer.size());
        if (got > 0) {
            received = static_cast<std::size_t>(got);
            return PortStatus::Ok;
        }
        if (got == 0) {
            m_lastError = "end of file";
            return PortStatus::Closed;
        }
        if (errno == EAGAIN || errno == EINTR) {
            continue;
        }
        // A pseudo-terminal whose master has gone, or an unplugged adapter, reports EIO.
        return Fail(errno == EIO ? PortStatus::Closed : PortStatus::Error);
    }
}

PortStatus PosixSerialPort::Write(std::span<const std::uint8_t> data, int timeoutMs)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t put = write(m_fd, data.data() + done, data.size() - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR) {
            return Fail(errno == EIO ? PortStatus::Closed : PortStatus::Error);
        }
        pollfd entry{m_fd, POLLOUT, 0};
        const int ready = poll(&entry, 1, timeoutMs);
        if (ready == 0) {
            return PortStatus::Timeout;
        }
        if (ready < 0 && errno != EINTR) {
            return Fail(PortStatus::Error);
        }
    }
    return PortStatus::Ok;
}

PortStatus PosixSerialPort::Drain()
{
    while (tcdrain(m_fd) != 0) {
        if (errno != EINTR) {
            return Fail(PortStatus::Error);
        }
    }
    return PortStatus::Ok;
}

} // namespace boottool
