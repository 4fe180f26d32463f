#pragma once

#include "boottool/Port.h"

#include <string>

namespace boottool {

// A termios serial line: raw 115200 8N1, no flow control, no CR/LF translation either way.
class PosixSerialPort : public Port
{
public:
    PosixSerialPort() = default;
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    // Opens the device without making it the controlling terminal.
    [[nodiscard]] bool Open(const std::string& path);
    // Sets the line to raw 115200 8N1 and drops whatever was waiting in either direction.
    [[nodiscard]] bool Configure();

    [[nodiscard]] PortStatus Read(std::span<std::uint8_t> buffer, std::size_t& received, int timeoutMs) override;
    [[nodiscard]] PortStatus Write(std::span<const std::uint8_t> data, int timeoutMs) override;
    [[nodiscard]] PortStatus Drain() override;
    std::string LastError() const override { return m_lastError; }

private:
    [[nodiscard]] PortStatus Fail(PortStatus status);

    int m_fd = -1;
    std::string m_lastError;
};

} // namespace boottool
