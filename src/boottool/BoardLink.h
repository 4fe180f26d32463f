#pragma once

#include "boottool/Console.h"
#include "boottool/Port.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace boottool {

// Outcome of a wait or transfer on the board's serial line.
enum class LinkStatus {
    Ok,
    Timeout, // only for waits given a time limit
    Failed, // the port failed or closed; the text is in FailureText()
};

// The serial line to the board with a read buffer in front: bytes that arrive together with an awaited
// text stay for the next wait or read instead of being lost.
class BoardLink
{
public:
    BoardLink(Port& port, Console& console);

    // While set, everything the board prints except the awaited texts is shown at once.
    void SetEcho(bool echo) { m_echo = echo; }

    // Waits until `text` has arrived (CR read as LF). With a time limit, `seen` gets what arrived instead.
    [[nodiscard]] LinkStatus WaitFor(std::string_view text, int timeoutMs = kWaitForever, std::string* seen = nullptr);
    // Takes what has arrived, up to `max` bytes, waiting up to timeoutMs for the first; empty on time-out.
    [[nodiscard]] LinkStatus ReadSome(std::vector<std::uint8_t>& out, std::size_t max, int timeoutMs);
    // Forgets what has arrived but not been taken.
    void DiscardBuffered() { m_pos = m_buffer.size(); }
    // Reads exactly `size` bytes into `out`.
    [[nodiscard]] LinkStatus ReadExact(std::uint8_t* out, std::size_t size);

    [[nodiscard]] LinkStatus Write(std::span<const std::uint8_t> data);
    [[nodiscard]] LinkStatus Write(std::string_view text);
    [[nodiscard]] LinkStatus Drain();

    std::string FailureText() const;

private:
    [[nodiscard]] LinkStatus Fill(int timeoutMs);
    std::size_t Buffered() const { return m_buffer.size() - m_pos; }

    Port& m_port;
    Console& m_console;
    bool m_echo = false;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_pos = 0;
    PortStatus m_lastStatus = PortStatus::Ok;
};

// How long a write may make no progress before the line counts as failed (milliseconds).
inline constexpr int kSerialWriteTimeoutMs = 10000;

} // namespace boottool
