#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// One operation of the edit command, in command-line order.
struct EditStep
{
    enum class Kind { Dedupe, Sort, OrderLike };

    Kind kind = Kind::Dedupe;
    std::string header; // Sort: the program list's column header as given
    std::string key; // Sort: the core's sort key for it
    bool descending = false; // Sort
    std::string reference; // OrderLike: the reference file
};

// The parsed command line of corvane-cli.
struct CliOptions
{
    std::string command;
    std::vector<std::string> files;
    std::string from; // --from, empty when the extension decides
    std::optional<std::uint32_t> address; // --address HEX
    std::vector<EditStep> edits; // edit: --dedupe, --sort, --order-like
    bool backup = true; // merge: keep IMAGE.bak; --no-backup turns it off
};

// Parses argv; false with a reason in error on a usage error.
[[nodiscard]] bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options, std::string& error);

// The usage text.
std::string CliUsage();

} // namespace cli
