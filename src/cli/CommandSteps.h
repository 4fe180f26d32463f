#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace core {
class CProgDb;
struct FileFormat;
} // namespace core

namespace cli {

struct CliOptions;

// Outcome of a command step that cannot go on: a usage problem (status 2) or a failure (status 1).
struct StepError
{
    int status;
    std::string text;
    std::string detail = {}; // the underlying reason, a second line (may be empty)
};

// A failure with the pending error's text and reason; clears the pending error.
StepError TakePendingError();

// The format of a file to read: --from, else its extension.
const core::FileFormat*
InputFormat(const CliOptions& options, const std::string& path, std::optional<StepError>& error);

// The format of a file to write, by its extension.
const core::FileFormat* OutputFormat(const std::string& path, std::optional<StepError>& error);

// Reads the input file; on failure error holds the status and the text for standard error. What a
// damaged flash image left out is reported on warnings, when given, and the import still succeeds.
[[nodiscard]] bool Load(const CliOptions& options,
                        const std::string& path,
                        core::CProgDb& db,
                        std::optional<StepError>& error,
                        std::ostream* warnings);

// Writes the database as path's extension says ("No data to save!" for an empty one).
[[nodiscard]] bool
Save(const core::FileFormat& format, const std::string& path, core::CProgDb& db, std::optional<StepError>& error);

} // namespace cli
