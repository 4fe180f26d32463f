#include "boottool/BoardLink.h"

#include "boottool/TextMatcher.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace boottool {

namespace {

// One read takes up to this many bytes; the matcher still looks at them one at a time.
constexpr std::size_t kReadChunk = 4096;

int RemainingMs(std::chrono::steady_clock::time_point deadline)
{
    const auto left
        = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
}

} // namespace

BoardLink::BoardLink(Port& port, Console& console)
    : m_port(port)
    , m_console(console)
{ }

LinkStatus BoardLink::Fill(int timeoutMs)
{
    if (m_pos == m_buffer.size()) {
        m_buffer.clear();
        m_pos = 0;
    }
    const std::size_t old = m_buffer.size();
    m_buffer.resize(old + kReadChunk);
    std::size_t received = 0;
    m_lastStatus = m_port.Read(std::span(m_buffer).subspan(old), received, timeoutMs);
    m_buffer.resize(old + received);
    if (m_lastStatus == PortStatus::Ok) {
        return LinkStatus::Ok;
    }
    return m_lastStatus == PortStatus::Timeout ? LinkStatus::Timeout : LinkStatus::Failed;
}

LinkStatus BoardLink::WaitFor(std::string_view text, int timeoutMs, std::string* seen)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    TextMatcher matcher(text);
    std::string unmatched;
    for (;;) {
        while (m_pos < m_buffer.size()) {
            const std::uint8_t byte = m_buffer[m_pos++];
            if (seen != nullptr) {
                seen->push_back(static_cast<char>(byte));
            }
            if (matcher.Feed(byte, unmatched)) {
                if (m_echo && !unmatched.empty()) {
                    m_console.Out(unmatched);
                }
                return LinkStatus::Ok;
            }
        }
        // Show the board's text before blocking again, so the front-end sees it live.
        if (m_echo && !unmatched.empty()) {
            m_console.Out(unmatched);
        }
        unmatched.clear();
        const LinkStatus status = Fill(timeoutMs == kWaitForever ? kWaitForever : RemainingMs(deadline));
        if (status != LinkStatus::Ok) {
            return status;
        }
    }
}

LinkStatus BoardLink::ReadSome(std::vector<std::uint8_t>& out, std::size_t max, int timeoutMs)
{
    out.clear();
    if (Buffered() == 0) {
        const LinkStatus status = Fill(timeoutMs);
        if (status != LinkStatus::Ok) {
            return status;
        }
    }
    const std::size_t take = std::min(max, Buffered());
    out.assign(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_pos),
               m_buffer.begin() + static_cast<std::ptrdiff_t>(m_pos + take));
    m_pos += take;
    return LinkStatus::Ok;
}

LinkStatus BoardLink::ReadExact(std::uint8_t* out, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        if (Buffered() == 0) {
            const LinkStatus status = Fill(kWaitForever);
            if (status != LinkStatus::Ok) {
                return status;
            }
        }
        const std::size_t take = std::min(size - done, Buffered());
        std::memcpy(out + done, m_buffer.data() + m_pos, take);
        m_pos += take;
        done += take;
    }
    return LinkStatus::Ok;
}

LinkStatus BoardLink::Write(std::span<const std::uint8_t> data)
{
    m_lastStatus = m_port.Write(data, kSerialWriteTimeoutMs);
    return m_lastStatus == PortStatus::Ok ? LinkStatus::Ok : LinkStatus::Failed;
}

LinkStatus BoardLink::Write(std::string_view text)
{
    return Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

LinkStatus BoardLink::Drain()
{
    m_lastStatus = m_port.Drain();
    return m_lastStatus == PortStatus::Ok ? LinkStatus::Ok : LinkStatus::Failed;
}

std::string BoardLink::FailureText() const
{
    return std::string(PortStatusText(m_lastStatus)) + ": " + m_port.LastError();
}

} // namespace boottool
