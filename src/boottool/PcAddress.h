#pragma once

#include "boottool/Console.h"

#include <functional>
#include <optional>
#include <string>

namespace boottool {

// The PC's address for the network commands: the -p value, or else the host's own address. When there
// is none, the user is told every 500 ms for a while (a cable may be plugged in) before the run gives up.
class PcAddress
{
public:
    using Detector = std::function<std::optional<std::string>()>;

    PcAddress(std::string given, Detector detect, int attempts = kDefaultAttempts, int intervalMs = kIntervalMs);

    // The address, or nullopt after the attempts (the messages have been printed).
    [[nodiscard]] std::optional<std::string> Get(Console& console);

    static constexpr int kIntervalMs = 500;
    static constexpr int kDefaultAttempts = 20; // 10 s

private:
    std::string m_given;
    Detector m_detect;
    int m_attempts;
    int m_intervalMs;
};

} // namespace boottool
