#pragma once

#include "boottool/BootRom.h"
#include "boottool/CommandLine.h"
#include "boottool/CommandRunner.h"
#include "boottool/Console.h"
#include "boottool/PcAddress.h"

#include <cstdint>
#include <string>
#include <vector>

namespace boottool {

// What a run needs from its surroundings; tests change the port and the time limits.
struct BootEnvironment
{
    std::string tftpBindAddress = "0.0.0.0"; // without -p; with it, the server listens on that address only
    std::uint16_t tftpPort = 2000;
    int tftpTimeoutMs = 5000;
    int fetchGraceMs = kFetchGraceMs;
    BootRomTimings romTimings;
    PcAddress::Detector detectLocalAddress;
};

// Exit statuses of the process.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;

// One run of the tool from the command line to the exit status.
[[nodiscard]] int RunBoot(const std::vector<std::string>& args, Console& console, const BootEnvironment& environment);

} // namespace boottool
