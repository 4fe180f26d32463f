#include "boottool/BootSession.h"

#include "boottool/BoardLink.h"
#include "boottool/CmdParser.h"
#include "boottool/CommandRunner.h"
#include "boottool/MachineTable.h"
#include "boottool/NetAddress.h"
#include "boottool/PreFlight.h"
#include "boottool/SerialDevice.h"
#include "boottool/SerialPort.h"
#include "boottool/Str2Argv.h"
#include "boottool/tftp/TftpService.h"
#include "platform/NativeFile.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>

namespace boottool {

namespace {

constexpr int kComScanLast = 9; // COM0..COM9 are tried without -d
constexpr int kTftpRetries = 8; // time-outs allowed per block

// The files this run's commands let the board fetch by TFTP.
std::set<std::string> TftpFiles(const std::vector<std::string>& commands)
{
    std::set<std::string> files;
    for (const std::string& command : commands) {
        const Str2ArgvResult split = str2argv(command);
        for (const std::string& file : TftpFilesOf(split.words)) {
            files.insert(file);
        }
    }
    return files;
}

[[nodiscard]] bool OpenSerial(const std::string& device, SerialPort& port, Console& console)
{
    std::string name = device;
    if (device.empty()) {
        bool found = false;
        for (int number = 0; number <= kComScanLast && !found; ++number) {
            name = "COM" + std::to_string(number);
            found = port.Open(SerialDevicePath(name).value_or(""));
        }
        if (!found) {
            console.Err("open serial COM0..COM9 failed, please check.\n");
            return false;
        }
    } else {
        const auto path = SerialDevicePath(device);
        if (!path) {
            console.Err(Format("error: open serial dev name is %s\n", device.c_str()));
            return false;
        }
        if (!port.Open(*path)) {
            console.Err(Format("open serial %s failed, please check.\n", device.c_str()));
            return false;
        }
    }
    if (!port.Configure()) {
        console.Err("open serial error.\n");
        return false;
    }
    console.Out(Format("Found serial: %s\n", name.c_str()));
    return true;
}

// The -m value as a file, else as a machine name. A folder or an unreadable file is no loader.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> LoaderImage(const std::string& machine)
{
    if (!machine.empty() && platform::RegularFileSize(machine)) {
        std::ifstream file(platform::PathOf(machine), std::ios::binary);
        std::vector<std::uint8_t> image(std::istreambuf_iterator<char>(file), {});
        if (file.good() || file.eof()) {
            return image;
        }
    }
    if (const MachineImage* entry = FindMachine(machine)) {
        return std::vector<std::uint8_t>(entry->image.begin(), entry->image.end());
    }
    return std::nullopt;
}

[[nodiscard]] bool
LoadBootLoader(BoardLink& link, Console& console, const std::vector<std::uint8_t>& image, const BootRomTimings& timings)
{
    console.Out("wait ROM request... please power on or restart the board...\n");
    link.SetEcho(false);
    if (link.WaitFor("X") != LinkStatus::Ok) {
        return false;
    }
    if (SendImageToRom(link, console, image, timings) == BootRomResult::LinkFailed) {
        return false;
    }
    // After a ROM failure the message asks for a restart; the loader's prompt may still come.
    link.SetEcho(true);
    return link.WaitFor(kLoaderPrompt) == LinkStatus::Ok;
}

// -v, -h and usage errors end the run before anything else; nullopt for a run.
[[nodiscard]] std::optional<int> EarlyExit(const CommandLineResult& parsed, Console& console)
{
    switch (parsed.action) {
    case CommandLineAction::ShowVersion:
        console.Out(VersionText());
        return kExitOk;
    case CommandLineAction::ShowUsage:
        console.Err(UsageText());
        return kExitOk;
    case CommandLineAction::UsageError:
        console.Err(parsed.error + UsageText());
        return kExitFailure;
    case CommandLineAction::Run:
        break;
    }
    if (!parsed.options.pcIp.empty() && !IsIpv4Address(parsed.options.pcIp)) {
        console.Err(Format("error: pc ip %s is not an IPv4 address, please check.\n", parsed.options.pcIp.c_str()));
        return kExitFailure;
    }
    return std::nullopt;
}

// The address the TFTP server listens on: the PC's address when -p gives it, else the environment's.
std::string TftpBindAddress(const BootOptions& options, const BootEnvironment& environment)
{
    if (options.pcIp.empty()) {
        return environment.tftpBindAddress;
    }
    return DottedAddress(options.pcIp).value_or(options.pcIp);
}

// A taken port only matters when the board is to fetch a file; otherwise the run goes on with a warning.
[[nodiscard]] bool StartTftp(TftpService& service,
                             const std::string& bindAddress,
                             const BootEnvironment& environment,
                             bool needed,
                             Console& console)
{
    std::string error;
    if (service.Start(bindAddress, environment.tftpPort, error)) {
        return true;
    }
    if (!needed) {
        console.Out(Format("warning: tftp server not started: udp port %u not available (%s).\n",
                           environment.tftpPort,
                           error.c_str()));
        return true;
    }
    if (service.StartError() == EADDRNOTAVAIL) {
        console.Err(Format("tftp server: %s is not an address of this PC, please check.\n", bindAddress.c_str()));
    } else {
        console.Err(Format("tftp server: udp port %u not available (%s), please close the other download.\n",
                           environment.tftpPort,
                           error.c_str()));
    }
    return false;
}

// Serial line, boot loader, then the commands.
[[nodiscard]] int RunOnBoard(const BootOptions& options,
                             const std::vector<std::string>& commands,
                             const BootEnvironment& environment,
                             TransferTracker& transfers,
                             Console& console)
{
    SerialPort port;
    if (!OpenSerial(options.device, port, console)) {
        return kExitFailure;
    }
    const auto image = LoaderImage(options.machine);
    if (!image) {
        console.Out(
            Format("can't find file %s, please check whether it really exists or not.\n", options.machine.c_str()));
        return kExitFailure;
    }
    BoardLink link(port, console);
    if (!LoadBootLoader(link, console, *image, environment.romTimings)) {
        console.Err(Format("serial line failed (%s), please check.\n", link.FailureText().c_str()));
        return kExitFailure;
    }
    if (commands.empty()) {
        console.Out("there is no cmd to exec, please check.\n");
        return kExitOk;
    }
    PcAddress pcAddress(options.pcIp, environment.detectLocalAddress);
    CommandRunner runner(link, console, pcAddress, options.stbIp, transfers, environment.fetchGraceMs);
    for (const std::string& command : commands) {
        if (runner.RunOneCommand(command) == CommandResult::Fatal) {
            return kExitFailure;
        }
    }
    return kExitOk;
}

} // namespace

int RunBoot(const std::vector<std::string>& args, Console& console, const BootEnvironment& environment)
{
    const CommandLineResult parsed = ParseCommandLine(args);
    if (const auto status = EarlyExit(parsed, console)) {
        return *status;
    }
    const std::vector<std::string> commands = SplitCommands(parsed.options.command);
    if (!CheckBeforePowerOn(commands, console)) {
        return kExitFailure;
    }
    const std::set<std::string> tftpFiles = TftpFiles(commands);
    DiskFileStorage storage;
    TransferTracker transfers;
    TftpServer server(storage, tftpFiles, console, TftpSettings{environment.tftpTimeoutMs, kTftpRetries});
    TftpService service(server, transfers, console, [](TftpOutcome) {
        // The main course is blocked on the serial line; the run ends here, as the board's failed
        // transfer must end it.
        std::_Exit(kExitFailure);
    });
    const std::string bindAddress = TftpBindAddress(parsed.options, environment);
    if (!StartTftp(service, bindAddress, environment, !tftpFiles.empty(), console)) {
        return kExitFailure;
    }
    return RunOnBoard(parsed.options, commands, environment, transfers, console);
}

} // namespace boottool
