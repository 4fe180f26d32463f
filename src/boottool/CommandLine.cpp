#include "boottool/CommandLine.h"

#include "boottool/MachineTable.h"

#include <cstring>

namespace boottool {

namespace {

bool TakesValue(char option)
{
    const char* found = std::strchr(kOptionString, option);
    return found != nullptr && found[1] == ':';
}

bool IsKnownOption(char option)
{
    return option != ':' && std::strchr(kOptionString, option) != nullptr;
}

void Store(BootOptions& options, char option, const std::string& value)
{
    switch (option) {
    case 'm':
    case 'b':
        options.machine = value;
        break;
    case 'c':
        options.command = value;
        break;
    case 'd':
        options.device = value;
        break;
    case 'p':
    case 'e':
        options.pcIp = value;
        break;
    case 's':
        options.stbIp = value;
        break;
    default:
        break;
    }
}

[[nodiscard]] CommandLineResult Failure(std::string error)
{
    CommandLineResult result;
    result.action = CommandLineAction::UsageError;
    result.error = std::move(error);
    return result;
}

} // namespace

CommandLineResult ParseCommandLine(const std::vector<std::string>& args)
{
    if (args.empty()) {
        return Failure({});
    }
    CommandLineResult result;
    result.action = CommandLineAction::Run;
    std::size_t index = 0;
    while (index < args.size()) {
        const std::string& word = args[index];
        if (word == "--") {
            ++index;
            break;
        }
        if (word.size() < 2 || word[0] != '-') {
            break; // first command word
        }
        ++index;
        // A word may group several flags ("-vh") or carry its value ("-dCOM3").
        for (std::size_t pos = 1; pos < word.size(); ++pos) {
            const char option = word[pos];
            if (!IsKnownOption(option)) {
                return Failure(std::string("boot: unknown option -") + option + "\n");
            }
            if (option == 'v') {
                result.action = CommandLineAction::ShowVersion;
                return result;
            }
            if (option == 'h') {
                result.action = CommandLineAction::ShowUsage;
                return result;
            }
            if (TakesValue(option)) {
                if (pos + 1 < word.size()) {
                    Store(result.options, option, word.substr(pos + 1));
                } else if (index < args.size()) {
                    Store(result.options, option, args[index++]);
                } else {
                    return Failure(std::string("boot: option -") + option + " needs a value\n");
                }
                break;
            }
        }
    }
    for (; index < args.size(); ++index) {
        result.options.command += " " + args[index];
    }
    return result;
}

std::string VersionText()
{
    return "boot version:v2.4  --20140306\n";
}

std::string UsageText()
{
    std::string machines;
    for (const MachineImage& entry : MachineTable()) {
        machines += std::string(entry.name) + "|";
    }
    return "Usage: boot [-m <machine>] [-b <bootloader file>] [-c <boot command line>] [-d <serial device>] "
           "[-p <pcip>] [-s <stbip>] [-h] [-v]\n"
           "  -m & -b:if you use -b, you don't need to use -m.\n"
           "  -m machine list:"
        + machines
        + "\n"
          "  -c command list:netdown <flash addr|partition name> <file name>\n"
          "                 :serialdown <flash addr|partition name> <file name>\n"
          "                 :usbdown <flash addr|partition name> <file name>\n"
          "                 :serialdump <flash addr|partition name> <length> <file name>\n"
          "                 :flash erase <flash addr> <length>\n"
          "                 :flash eraseall\n"
          "  ex. boot -m kv4410-dvbc-4410 -c netdown 0 loader-sflash.bin\n"
          "      boot -m kv4410 -c netdown 0 loader-sflash.bin -d /dev/ttyS3 -p 192.168.120.100 -s 192.168.120.101\n"
          "  more information: README.md of the Corvane project (section boot.exe)\n";
}

} // namespace boottool
