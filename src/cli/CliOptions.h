#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// The parsed command line of corvane-cli.
struct CliOptions
{
    std::string command;
    std::vector<std::string> files;
    std::string from; // --from, empty when the extension decides
    std::optional<std::uint32_t> address; // --address HEX
};

// Parses argv; false with a reason in error on a usage error.
[[nodiscard]] bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options, std::string& error);

// The usage text.
std::string CliUsage();

} // namespace cli
