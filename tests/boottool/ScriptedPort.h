#pragma once

#include "boottool/Port.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace boottool {

// A serial line played from a script: each queued chunk is what one read returns (a read smaller than
// the chunk takes its front). Everything written is recorded. When the script runs out, a wait with a
// time limit times out and a wait without one sees the line closed, so a faulty test cannot hang.
class ScriptedPort : public Port
{
public:
    // An empty chunk makes that read time out.
    void Queue(std::string chunk) { m_chunks.push_back({std::move(chunk), false}); }
    // That read sees the line closed.
    void QueueClosed() { m_chunks.push_back({{}, true}); }

    const std::string& Written() const { return m_written; }
    // Called with the bytes of every write, after they are recorded (a test's view of the board acting).
    std::function<void(std::string_view)> onWrite;
    int Drains() const { return m_drains; }

    [[nodiscard]] PortStatus Read(std::span<std::uint8_t> buffer, std::size_t& received, int timeoutMs) override
    {
        received = 0;
        if (m_chunks.empty()) {
            return timeoutMs == kWaitForever ? PortStatus::Closed : PortStatus::Timeout;
        }
        if (m_chunks.front().closed) {
            return PortStatus::Closed;
        }
        std::string& chunk = m_chunks.front().bytes;
        if (chunk.empty()) {
            m_chunks.pop_front();
            return PortStatus::Timeout;
        }
        received = std::min(buffer.size(), chunk.size());
        std::copy_n(chunk.begin(), received, buffer.begin());
        chunk.erase(0, received);
        if (chunk.empty()) {
            m_chunks.pop_front();
        }
        return PortStatus::Ok;
    }

    [[nodiscard]] PortStatus Write(std::span<const std::uint8_t> data, int) override
    {
        m_written.append(data.begin(), data.end());
        if (onWrite) {
            onWrite(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
        }
        return PortStatus::Ok;
    }

    [[nodiscard]] PortStatus Drain() override
    {
        ++m_drains;
        return PortStatus::Ok;
    }

    std::string LastError() const override { return "script ended"; }

private:
    struct Chunk
    {
        std::string bytes;
        bool closed;
    };
    std::deque<Chunk> m_chunks;
    std::string m_written;
    int m_drains = 0;
};

} // namespace boottool
