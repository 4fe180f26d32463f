#include "cli/Commands.h"

#include "access/CAccessIn.h"
#include "access/CAccessOut.h"
#include "cli/CliOptions.h"
#include "cli/CliUiHooks.h"
#include "cli/Formats.h"
#include "cli/JsonDump.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"

namespace {

// A usage problem found after parsing (an unknown or unreadable format).
struct UsageError
{
    std::string text;
};

const FileFormat& InputFormat(const CliOptions& options, const std::string& path)
{
    const FileFormat* format = options.from.empty() ? FormatByPath(path) : FormatByName(options.from);
    if (format == nullptr) {
        throw UsageError{options.from.empty() ? "cannot tell the format of " + path + "; use --from"
                                              : "unknown format: " + options.from};
    }
    if (!format->makeReader) {
        throw UsageError{"cannot read the format " + format->name};
    }
    return *format;
}

const FileFormat& OutputFormat(const std::string& path)
{
    const FileFormat* format = FormatByPath(path);
    if (format == nullptr || !format->makeWriter) {
        throw UsageError{"cannot tell the output format of " + path + " (use .db or .xls)"};
    }
    return *format;
}

// Reports a failed import or export the way the editor does: the pending text, else "Unknown Error!".
int Failure(std::ostream& err)
{
    err << PendingErrorOrUnknown() << '\n';
    ClearPendingError();
    return kCliFailed;
}

bool Load(const CliOptions& options, const std::string& path, CProgDb& db)
{
    const FileFormat& format = InputFormat(options, path);
    db.Clear();
    return format.makeReader()->Import(path, db);
}

int Dump(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    CProgDb db;
    if (!Load(options, options.files[0], db)) {
        return Failure(err);
    }
    WriteJsonDump(db, out);
    return kCliOk;
}

int Info(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    CProgDb db;
    if (!Load(options, options.files[0], db)) {
        return Failure(err);
    }
    out << db.Sats().Count() << " satellites, " << db.Tps().Count() << " transponders, " << db.Progs().Count()
        << " programs\n";
    return kCliOk;
}

int Convert(const CliOptions& options, std::ostream&, std::ostream& err)
{
    const FileFormat& output = OutputFormat(options.files[1]);
    CProgDb db;
    if (!Load(options, options.files[0], db)) {
        return Failure(err);
    }
    if (db.IsEmpty()) {
        err << "No data to save!\n";
        return kCliFailed;
    }
    if (!output.makeWriter()->Export(options.files[1], db)) {
        return Failure(err);
    }
    return kCliOk;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CliOptions options;
    std::string error;
    if (!ParseCliOptions(args, options, error)) {
        err << "corvane-cli: " << error << '\n' << CliUsage();
        return kCliUsage;
    }
    CliUiHooks hooks(options.address.value_or(0));
    const ScopedUiHooks scope(hooks);
    ClearPendingError();
    try {
        if (options.command == "dump") {
            return Dump(options, out, err);
        }
        if (options.command == "info") {
            return Info(options, out, err);
        }
        return Convert(options, out, err);
    } catch (const UsageError& usage) {
        err << "corvane-cli: " << usage.text << '\n' << CliUsage();
        return kCliUsage;
    }
}
