#include "cli/CliOptions.h"

#include "db/CNode.h"
#include "edit/SortNodes.h"

#include <cerrno>
#include <cstdlib>

using core::SortKeyForHeader;

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
    if (command == "convert" || command == "merge" || command == "edit") {
        return 2;
    }
    return 1;
}

bool IsCommand(const std::string& command)
{
    return command == "dump" || command == "convert" || command == "info" || command == "merge" || command == "edit";
}

// FIELD or FIELD:desc (FIELD:asc too), FIELD a column header of the program list.
bool ParseSort(const std::string& value, EditStep& step, std::string& error)
{
    const std::size_t colon = value.rfind(':');
    step.kind = EditStep::Kind::Sort;
    step.header = value.substr(0, colon);
    if (colon != std::string::npos) {
        const std::string order = value.substr(colon + 1);
        if (order != "desc" && order != "asc") {
            error = "--sort takes FIELD or FIELD:desc, not " + value;
            return false;
        }
        step.descending = order == "desc";
    }
    step.key = SortKeyForHeader(core::Prog, step.header);
    if (step.key.empty()) {
        error = "unknown field: " + step.header;
        return false;
    }
    return true;
}

// --dedupe, --sort VALUE or --order-like VALUE; i points at the option and moves past its value.
bool ParseEditOption(const std::vector<std::string>& args, std::size_t& i, CliOptions& options, std::string& error)
{
    const std::string& arg = args[i];
    if (options.command != "edit") {
        error = arg + " is an option of edit only";
        return false;
    }
    EditStep step;
    if (arg != "--dedupe") {
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (arg == "--sort") {
            if (!ParseSort(value, step, error)) {
                return false;
            }
        } else {
            step.kind = EditStep::Kind::OrderLike;
            step.reference = value;
        }
    }
    options.edits.push_back(step);
    return true;
}

bool IsEditOption(const std::string& arg)
{
    return arg == "--dedupe" || arg == "--sort" || arg == "--order-like";
}

} // namespace

std::string CliUsage()
{
    return "usage:\n"
           "  corvane-cli dump FILE [--from db|xls|userdb|userdb25] [--address HEX]\n"
           "  corvane-cli convert IN OUT [--from ...] [--address HEX]\n"
           "  corvane-cli info FILE [--from ...] [--address HEX]\n"
           "  corvane-cli merge IN IMAGE [--from ...] [--address HEX] [--no-backup]\n"
           "  corvane-cli edit IN OUT [--from ...] [--address HEX] [--dedupe] [--sort FIELD[:desc]] [--order-like "
           "REF]\n"
           "  corvane-cli --version\n";
}

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options, std::string& error)
{
    if (args.empty()) {
        error = "no command given";
        return false;
    }
    options.command = args[0];
    if (!IsCommand(options.command)) {
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
        } else if (arg == "--no-backup") {
            if (options.command != "merge") {
                error = arg + " is an option of merge only";
                return false;
            }
            options.backup = false;
        } else if (IsEditOption(arg)) {
            if (!ParseEditOption(args, i, options, error)) {
                return false;
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
    if (options.command == "edit" && options.edits.empty()) {
        error = "edit needs at least one of --dedupe, --sort, --order-like";
        return false;
    }
    return true;
}

} // namespace cli
