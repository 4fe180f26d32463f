#pragma once

#include <string>
#include <vector>

namespace boottool {

// Everything the command line configures for one run.
struct BootOptions
{
    std::string machine; // -m or -b: a machine name or a boot loader file
    std::string device; // -d: COM<n> or a device path; empty = scan COM0..COM9
    std::string pcIp; // -p or -e
    std::string stbIp; // -s
    std::string command; // the -c value and every word after the options, joined by blanks
};

enum class CommandLineAction {
    Run,
    ShowVersion, // -v
    ShowUsage, // -h
    UsageError, // unknown option, missing option value, or no argument at all
};

struct CommandLineResult
{
    CommandLineAction action = CommandLineAction::UsageError;
    BootOptions options;
    std::string error; // for UsageError: a line saying what was wrong (empty when no argument was given)
};

// Reads options in the order given, up to the first word that is neither an option nor an option's value,
// or up to "--"; that word and all after it are command words. The first -v or -h ends the scan.
[[nodiscard]] CommandLineResult ParseCommandLine(const std::vector<std::string>& args);

// The option letters in getopt notation; a colon marks an option that takes a value.
inline constexpr const char* kOptionString = "c:b:d:m:e:p:s:vh";

// "boot version:..." line printed by -v.
std::string VersionText();
// The usage text printed by -h, for an unknown option and without arguments.
std::string UsageText();

} // namespace boottool
