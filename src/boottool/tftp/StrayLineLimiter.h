#pragma once

#include "boottool/Console.h"

#include <chrono>
#include <functional>
#include <mutex>

namespace boottool {

// The lines about refused and stray packets, limited so a flood cannot bury the run's own output: at
// most kLinesPerSecond lines (one per Out) in a second; beyond that the packets are counted, and once a
// second while they keep coming one line says how many were ignored. Err goes through unlimited.
class StrayLineLimiter : public Console
{
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;

    explicit StrayLineLimiter(Console& console, Now now = Clock::now);

    void Out(std::string_view text) override;
    void Err(std::string_view text) override;

    // Prints the count of a second that is over; the caller comes back after MsUntilFlush().
    void Flush();
    // Prints whatever has been counted, due or not (the server is stopping).
    void FlushPending();
    // Milliseconds until a count is due, or -1 when none is waiting.
    [[nodiscard]] int MsUntilFlush() const;

    static constexpr int kLinesPerSecond = 10;

private:
    // Ends the second that began at m_windowStart if it is over at `now`.
    void CloseWindowIfOver(Clock::time_point now);

    Console& m_console;
    Now m_now;
    mutable std::mutex m_mutex;
    Clock::time_point m_windowStart{};
    int m_lines = 0; // shown in this second
    int m_ignored = 0; // counted in this second
    bool m_flooding = false; // the last second had to count: only its count is shown now
};

} // namespace boottool
