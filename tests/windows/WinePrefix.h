#pragma once

#include "support/TempDir.h"

#include <string>

namespace boottool {

// A wine prefix of its own for a test run, made when constructed and removed at the end. The
// Windows programs started through wine from then on run in it, headless.
class WinePrefix
{
public:
    WinePrefix();
    ~WinePrefix();
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    [[nodiscard]] bool Ready() const { return m_ready; }

    // Maps a COM port to a device through HKLM\Software\Wine\Ports; wine reads it when it starts.
    [[nodiscard]] bool MapPort(const std::string& port, const std::string& device) const;

    static constexpr int kRunLimitMs = 60000;

private:
    testsupport::TempDir m_dir;
    bool m_ready = false;
};

} // namespace boottool
