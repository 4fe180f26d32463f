#include "cli/Commands.h"

#include "access/CAccessDftDbOut.h"
#include "access/CAccessIn.h"
#include "access/CAccessOut.h"
#include "cli/CliOptions.h"
#include "cli/CliUiHooks.h"
#include "cli/JsonDump.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "formats/FileFormats.h"

#include <optional>

using core::CAccessDftDbOut;
using core::ClearPendingError;
using core::CProgDb;
using core::FileFormat;
using core::FormatByName;
using core::FormatByPath;
using core::FormatId;
using core::PendingErrorOrUnknown;
using core::ScopedUiHooks;

namespace cli {

namespace {

// Outcome of a command step that cannot go on: a usage problem (status 2) or a failed read (status 1).
struct StepError
{
    int status;
    std::string text;
};

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

// Reads the input file; on failure error holds the status and the text for standard error.
bool Load(const CliOptions& options, const std::string& path, CProgDb& db, std::optional<StepError>& error)
{
    const FileFormat* format = InputFormat(options, path, error);
    if (format == nullptr) {
        return false;
    }
    db.Clear();
    if (!format->makeReader()->Import(path, db)) {
        error = StepError{kCliFailed, PendingErrorOrUnknown()};
        ClearPendingError();
        return false;
    }
    return true;
}

std::optional<StepError> Dump(const CliOptions& options, std::ostream& out)
{
    CProgDb db;
    std::optional<StepError> error;
    if (Load(options, options.files[0], db, error)) {
        WriteJsonDump(db, out);
    }
    return error;
}

std::optional<StepError> Info(const CliOptions& options, std::ostream& out)
{
    CProgDb db;
    std::optional<StepError> error;
    if (Load(options, options.files[0], db, error)) {
        out << db.Sats().Count() << " satellites, " << db.Tps().Count() << " transponders, " << db.Progs().Count()
            << " programs\n";
    }
    return error;
}

// Reads IN and writes it as OUT, as the editor's open and save commands do one after the other.
std::optional<StepError> Convert(const CliOptions& options)
{
    std::optional<StepError> error;
    const FileFormat* output = OutputFormat(options.files[1], error);
    CProgDb db;
    if (output == nullptr || !Load(options, options.files[0], db, error)) {
        return error;
    }
    if (db.IsEmpty()) {
        return StepError{kCliFailed, "No data to save!"};
    }
    if (!output->makeWriter()->Export(options.files[1], db)) {
        error = StepError{kCliFailed, PendingErrorOrUnknown()};
        ClearPendingError();
    }
    return error;
}

// Reads IN and writes it as the default database of the flash image IMAGE, in place.
std::optional<StepError> Merge(const CliOptions& options, std::ostream& out)
{
    std::optional<StepError> error;
    CProgDb db;
    if (!Load(options, options.files[0], db, error)) {
        return error;
    }
    if (db.IsEmpty()) {
        return StepError{kCliFailed, "No data to merge!"};
    }
    if (!CAccessDftDbOut().Export(options.files[1], db)) {
        error = StepError{kCliFailed, PendingErrorOrUnknown()};
        ClearPendingError();
        return error;
    }
    out << "Merge default program finished!\n";
    return std::nullopt;
}

std::optional<StepError> RunCommand(const CliOptions& options, std::ostream& out)
{
    if (options.command == "merge") {
        return Merge(options, out);
    }
    if (options.command == "dump") {
        return Dump(options, out);
    }
    if (options.command == "info") {
        return Info(options, out);
    }
    return Convert(options);
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && args[0] == "--version") {
        out << "corvane-cli " << CORVANE_VERSION << '\n';
        return kCliOk;
    }
    CliOptions options;
    std::string usageError;
    if (!ParseCliOptions(args, options, usageError)) {
        err << "corvane-cli: " << usageError << '\n' << CliUsage();
        return kCliUsage;
    }
    CliUiHooks hooks(options.address.value_or(0));
    const ScopedUiHooks scope(hooks);
    ClearPendingError();
    const std::optional<StepError> error = RunCommand(options, out);
    if (!error) {
        return kCliOk;
    }
    if (error->status == kCliUsage) {
        err << "corvane-cli: " << error->text << '\n' << CliUsage();
    } else {
        err << error->text << '\n';
    }
    return error->status;
}

} // namespace cli
