#include "cli/Commands.h"

#include "access/CAccessDftDbOut.h"
#include "access/CAccessIn.h"
#include "access/CAccessOut.h"
#include "cli/CliOptions.h"
#include "cli/CliUiHooks.h"
#include "cli/CommandSteps.h"
#include "cli/EditCommand.h"
#include "cli/JsonDump.h"
#include "common/OutOfMemory.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "formats/FileFormats.h"

#include <new>
#include <optional>

using core::CAccessDftDbOut;
using core::ClearPendingError;
using core::CProgDb;
using core::FailOnOutOfMemory;
using core::FileFormat;
using core::PendingErrorOrUnknown;
using core::ScopedUiHooks;

namespace cli {

namespace {

std::optional<StepError> Dump(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    CProgDb db;
    std::optional<StepError> error;
    if (Load(options, options.files[0], db, error, &err)) {
        WriteJsonDump(db, out);
    }
    return error;
}

std::optional<StepError> Info(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    CProgDb db;
    std::optional<StepError> error;
    if (Load(options, options.files[0], db, error, &err)) {
        out << db.Sats().Count() << " satellites, " << db.Tps().Count() << " transponders, " << db.Progs().Count()
            << " programs\n";
    }
    return error;
}

// Reads IN and writes it as OUT, as the editor's open and save commands do one after the other.
std::optional<StepError> Convert(const CliOptions& options, std::ostream& err)
{
    std::optional<StepError> error;
    const FileFormat* output = OutputFormat(options.files[1], error);
    CProgDb db;
    if (output == nullptr || !Load(options, options.files[0], db, error, &err)) {
        return error;
    }
    (void)Save(*output, options.files[1], db, error); // error tells a failure
    return error;
}

// Reads IN and writes it as the default database of the flash image IMAGE, in place.
std::optional<StepError> Merge(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    std::optional<StepError> error;
    CProgDb db;
    if (!Load(options, options.files[0], db, error, &err)) {
        return error;
    }
    if (db.IsEmpty()) {
        return StepError{kCliFailed, "No data to merge!"};
    }
    CAccessDftDbOut merger;
    merger.SetBackup(options.backup);
    if (!FailOnOutOfMemory([&] { return merger.Export(options.files[1], db); })) {
        return TakePendingError();
    }
    out << "Merge default program finished!\n";
    if (!merger.BackupPath().empty()) {
        out << "The image before the first merge is kept in " << merger.BackupPath() << ".\n";
    }
    return std::nullopt;
}

std::optional<StepError> RunCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.command == "merge") {
        return Merge(options, out, err);
    }
    if (options.command == "dump") {
        return Dump(options, out, err);
    }
    if (options.command == "info") {
        return Info(options, out, err);
    }
    if (options.command == "edit") {
        return Edit(options, out, err);
    }
    return Convert(options, err);
}

int RunCliChecked(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
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
    const std::optional<StepError> error = RunCommand(options, out, err);
    if (!error) {
        return kCliOk;
    }
    if (error->status == kCliUsage) {
        err << "corvane-cli: " << error->text << '\n' << CliUsage();
    } else {
        err << error->text << '\n';
        if (!error->detail.empty()) {
            err << error->detail << '\n';
        }
    }
    return error->status;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    // The import, export and merge steps turn a shortage into their own failure; this catches one in
    // between them (the options, the JSON text), so the program never ends without its message.
    try {
        return RunCliChecked(args, out, err);
    } catch (const std::bad_alloc&) {
        ClearPendingError();
        err << core::kOutOfMemory << '\n';
        return kCliFailed;
    }
}

} // namespace cli
