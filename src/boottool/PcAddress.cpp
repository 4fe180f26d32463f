#include "boottool/PcAddress.h"

#include <chrono>
#include <thread>

namespace boottool {

PcAddress::PcAddress(std::string given, Detector detect, int attempts, int intervalMs)
    : m_given(std::move(given))
    , m_detect(std::move(detect))
    , m_attempts(attempts)
    , m_intervalMs(intervalMs)
{ }

std::optional<std::string> PcAddress::Get(Console& console)
{
    if (!m_given.empty()) {
        return m_given;
    }
    if (auto found = m_detect()) {
        m_given = *found;
        return found;
    }
    console.Out("Warning: NetConfig get local ip failed. please check.\n");
    for (int attempt = 0; attempt < m_attempts; ++attempt) {
        console.Out("Error: No found network.please check.\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(m_intervalMs));
        if (auto found = m_detect()) {
            m_given = *found;
            return found;
        }
    }
    return std::nullopt;
}

} // namespace boottool
