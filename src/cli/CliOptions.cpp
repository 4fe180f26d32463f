#include "cli/CliOptions.h"

#include <cerrno>
#include <cstdlib>

namespace cli {

namespace {

bool ParseHexAddress(const std::string& text, std::uint32_t& value)
{
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits = digits.substr(2);
    }
    if (digits.empty() || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return false;
    }
    errno = 0;
    const unsigned long long parsed = std::strtoull(digits.c_str(), nullptr, 16);
    if (errno == ERANGE || parsed > 0xFFFFFFFFull) {
        return false;
    }
    value = static_cast<std::uint32_t>(parsed);
    return true;
}

std::size_t FileCount(const std::string& command)
{
    if (command == "convert" || command == "merge") {
        return 2;
    }
    return 1;
}

} // namespace

std::string CliUsage()
{
    return "usage:\n"
           "  corvane-cli dump FILE [--from db|xls|userdb|userdb25] [--address HEX]\n"
           "  corvane-cli convert IN OUT [--from ...] [--address HEX]\n"
           "  corvane-cli info FILE [--from ...] [--address HEX]\n"
           "  corvane-cli merge IN IMAGE [--from ...] [--address HEX]\n"
           "  corvane-cli --version\n";
}

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options, std::string& error)
{
    if (args.empty()) {
        error = "no command given";
        return false;
    }
    options.command = args[0];
    if (options.command != "dump" && options.command != "convert" && options.command != "info"
        && options.command != "merge") {
        error = "unknown command: " + options.command;
        return false;
    }
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--from" || arg == "--address") {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            const std::string& value = args[++i];
            if (arg == "--from") {
                options.from = value;
            } else {
                std::uint32_t address = 0;
                if (!ParseHexAddress(value, address)) {
                    error = "--address takes a hexadecimal number of at most 32 bits: " + value;
                    return false;
                }
                options.address = address;
            }
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            error = "unknown option: " + arg;
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.files.size() != FileCount(options.command)) {
        error = options.command + " takes " + std::to_string(FileCount(options.command)) + " file(s)";
        return false;
    }
    return true;
}

} // namespace cli
