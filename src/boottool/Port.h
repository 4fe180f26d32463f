#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace boottool {

// Outcome of one port operation.
enum class PortStatus {
    Ok,
    Timeout, // nothing arrived (or nothing could be written) before the time-out
    Closed, // the other end went away (a pseudo-terminal master closed, a USB adapter unplugged)
    Error, // any other system error
};

// Time-out value that waits without limit (milliseconds).
inline constexpr int kWaitForever = -1;

// The serial line as the protocol code sees it; a termios device in the tool, a scripted port in tests.
class Port
{
public:
    virtual ~Port() = default;
    // Reads at least one byte and at most buffer.size(); blocks up to timeoutMs (kWaitForever: no limit).
    [[nodiscard]] virtual PortStatus Read(std::span<std::uint8_t> buffer, std::size_t& received, int timeoutMs) = 0;
    // Writes all bytes; fails when the line accepts nothing for timeoutMs.
    [[nodiscard]] virtual PortStatus Write(std::span<const std::uint8_t> data, int timeoutMs) = 0;
    // Waits until everything written has left the PC.
    [[nodiscard]] virtual PortStatus Drain() = 0;
    // The system's text for the last failure.
    virtual std::string LastError() const = 0;
};

const char* PortStatusText(PortStatus status);

} // namespace boottool
