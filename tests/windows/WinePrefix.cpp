#include "WinePrefix.h"

#include "boottool/ChildProcess.h"

#include <cstdlib>

namespace boottool {

WinePrefix::WinePrefix()
{
    setenv("WINEPREFIX", m_dir.Path().c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    // Made here, once: the first program started in a new prefix sets it up (several seconds).
    m_ready = RunChild({"wine", "cmd", "/c", "exit"}, kRunLimitMs).status == 0;
}

WinePrefix::~WinePrefix()
{
    (void)RunChild({"wineserver", "-k"}, 10000);
}

bool WinePrefix::MapPort(const std::string& port, const std::string& device) const
{
    const ChildResult added
        = RunChild({"wine", "reg", "add", "HKLM\\Software\\Wine\\Ports", "/v", port, "/d", device, "/f"}, kRunLimitMs);
    return added.status == 0 && RunChild({"wineserver", "-w"}, kRunLimitMs).status == 0;
}

} // namespace boottool
