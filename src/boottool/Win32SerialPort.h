#pragma once

#include "boottool/Port.h"

#include <string>

namespace boottool {

// A Windows communications port: raw 115200 8N1, no flow control, binary; every wait through the
// port's time-outs (COMMTIMEOUTS), set for each call.
class Win32SerialPort : public Port
{
public:
    Win32SerialPort() = default;
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    // Opens the device ("COM3", "\\.\COM12") for this process alone.
    [[nodiscard]] bool Open(const std::string& path);
    // Sets the line to raw 115200 8N1 and drops whatever was waiting in either direction.
    [[nodiscard]] bool Configure();

    [[nodiscard]] PortStatus Read(std::span<std::uint8_t> buffer, std::size_t& received, int timeoutMs) override;
    [[nodiscard]] PortStatus Write(std::span<const std::uint8_t> data, int timeoutMs) override;
    [[nodiscard]] PortStatus Drain() override;
    std::string LastError() const override { return m_lastError; }

private:
    struct Timeouts
    {
        unsigned long readConstant = 0;
        unsigned long writeConstant = 0;
        bool operator==(const Timeouts&) const = default;
    };

    [[nodiscard]] bool SetTimeouts(const Timeouts& timeouts);
    [[nodiscard]] PortStatus Fail();

    void* m_handle = nullptr; // the port's HANDLE while m_open
    bool m_open = false;
    Timeouts m_timeouts{~0ul, ~0ul}; // none set yet
    std::string m_lastError;
};

} // namespace boottool
