#include "FuzzMemoryFile.h"
#include "FuzzScratchDir.h"
#include "ScriptedPort.h"
#include "boottool/BoardLink.h"
#include "boottool/BootRom.h"
#include "boottool/CommandRunner.h"
#include "boottool/Console.h"
#include "boottool/PcAddress.h"
#include "boottool/tftp/TransferTracker.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

using namespace boottool;

namespace {

class NullConsole final : public Console
{
public:
    void Out(std::string_view) override { }
    void Err(std::string_view) override { }
};

// The board's side of the line, cut from the input: each chunk is a length byte and that many
// bytes; length 0 is a read that times out, 255 the line closing.
void QueueBoard(ScriptedPort& port, const std::uint8_t* data, std::size_t size)
{
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t length = data[pos++];
        if (length == 255) {
            port.QueueClosed();
            continue;
        }
        const std::size_t take = std::min(length, size - pos);
        port.Queue(std::string(reinterpret_cast<const char*>(data + pos), take));
        pos += take;
    }
}

// What boot.exe sends: a loader image to the ROM, and files for serialdown.
const std::vector<std::uint8_t>& Payload()
{
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> made(5000);
        for (std::size_t i = 0; i < made.size(); ++i) {
            made[i] = static_cast<std::uint8_t>(i * 7);
        }
        return made;
    }();
    return bytes;
}

void RunRom(ScriptedPort& port, Console& console)
{
    BoardLink link(port, console);
    (void)SendImageToRom(link, console, Payload(), {0, 0});
}

// A loader command against the board's answers; a serialdump that reports success has written
// its file, and no serialdump leaves a file of another length than it asked for.
void RunCommand(ScriptedPort& port, Console& console, std::uint8_t choice)
{
    const FuzzScratchDir dir;
    static FuzzMemoryFile source;
    if (!dir.Valid() || !source.Replace(Payload().data(), Payload().size())) {
        return;
    }
    BoardLink link(port, console);
    link.SetEcho((choice & 4) != 0);
    PcAddress pc("10.0.0.5", [] { return std::optional<std::string>(); });
    TransferTracker transfers;
    CommandRunner runner(link, console, pc, "", transfers, 0);
    const std::string dump = dir.File("dump.bin");
    const std::uint64_t dumpSize = choice >> 3;
    switch (choice & 3) {
    case 0:
        (void)runner.RunOneCommand("serialdown 0x00010000 " + source.Path());
        break;
    case 1: {
        const CommandResult result
            = runner.RunOneCommand("serialdump 0x00140000 " + std::to_string(dumpSize) + " " + dump);
        // The dump is written once all its bytes are in (a prompt that never comes after them does
        // not take it back): there is never a part of one.
        const bool exists = std::filesystem::exists(dump);
        if ((result == CommandResult::Done && !exists) || (exists && std::filesystem::file_size(dump) != dumpSize)) {
            __builtin_trap();
        }
        break;
    }
    default:
        (void)runner.RunOneCommand("help");
        break;
    }
}

} // namespace

// Input: one byte choosing the exchange (the ROM's answers, or a loader command and its waits for
// "~sta~", "~fin~" and the prompt), then the board's side of the line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) {
        return 0;
    }
    NullConsole console;
    ScriptedPort port;
    QueueBoard(port, data + 1, size - 1);
    if ((data[0] & 1) == 0) {
        RunRom(port, console);
    } else {
        RunCommand(port, console, static_cast<std::uint8_t>(data[0] >> 1));
    }
    return 0;
}
