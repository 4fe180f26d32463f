#include "boottool/tftp/StrayLineLimiter.h"

#include <algorithm>

namespace boottool {

namespace {

constexpr std::chrono::seconds kWindow{1};

} // namespace

StrayLineLimiter::StrayLineLimiter(Console& console, Now now)
    : m_console(console)
    , m_now(std::move(now))
{ }

void StrayLineLimiter::CloseWindowIfOver(Clock::time_point now)
{
    if (now - m_windowStart < kWindow) {
        return;
    }
    if (m_ignored > 0) {
        m_console.Out(Format("%d more stray packets ignored\n", m_ignored));
    }
    // Every packet closes the second before it, so a second that ended long ago was followed by quiet.
    const bool quietSince = now - m_windowStart >= 2 * kWindow;
    m_flooding = m_ignored > 0 && !quietSince;
    m_windowStart = m_flooding ? m_windowStart + kWindow : now;
    m_lines = 0;
    m_ignored = 0;
}

void StrayLineLimiter::Out(std::string_view text)
{
    const std::lock_guard lock(m_mutex);
    const Clock::time_point now = m_now();
    CloseWindowIfOver(now);
    if (!m_flooding && m_lines < kLinesPerSecond) {
        ++m_lines;
        m_console.Out(text);
    } else {
        ++m_ignored;
    }
}

void StrayLineLimiter::Err(std::string_view text)
{
    m_console.Err(text);
}

void StrayLineLimiter::Flush()
{
    const std::lock_guard lock(m_mutex);
    if (m_ignored > 0) {
        CloseWindowIfOver(m_now());
    }
}

void StrayLineLimiter::FlushPending()
{
    const std::lock_guard lock(m_mutex);
    if (m_ignored > 0) {
        m_console.Out(Format("%d more stray packets ignored\n", m_ignored));
        m_ignored = 0;
    }
}

int StrayLineLimiter::MsUntilFlush() const
{
    const std::lock_guard lock(m_mutex);
    if (m_ignored == 0) {
        return -1;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_windowStart + kWindow - m_now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
}

} // namespace boottool
