#include "cli/CommandSteps.h"

#include "access/CAccessIn.h"
#include "access/CAccessOut.h"
#include "access/FlashDamage.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "common/OutOfMemory.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "formats/FileFormats.h"

#include <memory>

using core::ClearPendingError;
using core::CProgDb;
using core::FailOnOutOfMemory;
using core::FileFormat;
using core::FormatByName;
using core::FormatByPath;
using core::FormatId;
using core::PendingError;
using core::PendingErrorOrUnknown;

namespace cli {

const FileFormat* InputFormat(const CliOptions& options, const std::string& path, std::optional<StepError>& error)
{
    const FileFormat* format = options.from.empty() ? FormatByPath(path) : FormatByName(options.from);
    if (format == nullptr) {
        error = StepError{kCliUsage,
                          options.from.empty() ? "cannot tell the format of " + path + "; use --from"
                                               : "unknown format: " + options.from};
        return nullptr;
    }
    if (format->makeReader == nullptr) {
        error = StepError{kCliUsage, "cannot read the format " + std::string(format->name)};
        return nullptr;
    }
    if (format->id == FormatId::UserDb25 && !options.address) {
        error = StepError{kCliUsage, "--from userdb25 needs --address"};
        return nullptr;
    }
    return format;
}

const FileFormat* OutputFormat(const std::string& path, std::optional<StepError>& error)
{
    const FileFormat* format = FormatByPath(path);
    if (format == nullptr || format->makeWriter == nullptr) {
        error = StepError{kCliUsage, "cannot tell the output format of " + path + " (use .db or .xls)"};
        return nullptr;
    }
    return format;
}

StepError TakePendingError()
{
    StepError error{kCliFailed, PendingErrorOrUnknown(), PendingError().detail};
    ClearPendingError();
    return error;
}

bool Load(const CliOptions& options,
          const std::string& path,
          CProgDb& db,
          std::optional<StepError>& error,
          std::ostream* warnings)
{
    const FileFormat* format = InputFormat(options, path, error);
    if (format == nullptr) {
        return false;
    }
    const std::unique_ptr<core::CAccessIn> reader = format->makeReader();
    const bool imported = FailOnOutOfMemory([&] {
        db.Clear();
        return reader->Import(path, db);
    });
    if (!imported) {
        db.Clear(); // nothing half-read is used
        error = TakePendingError();
        return false;
    }
    if (reader->Damage().Any() && warnings != nullptr) {
        *warnings << core::FlashDamageWarning(reader->Damage()) << '\n';
    }
    return true;
}

bool Save(const FileFormat& format, const std::string& path, CProgDb& db, std::optional<StepError>& error)
{
    if (db.IsEmpty()) {
        error = StepError{kCliFailed, "No data to save!"};
        return false;
    }
    if (!FailOnOutOfMemory([&] { return format.makeWriter()->Export(path, db); })) {
        error = TakePendingError();
        return false;
    }
    return true;
}

} // namespace cli
