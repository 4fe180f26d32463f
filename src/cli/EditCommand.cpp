#include "cli/EditCommand.h"

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "db/CProgDb.h"
#include "edit/CEditHistory.h"
#include "edit/OrderLike.h"
#include "edit/RemoveDuplicates.h"
#include "edit/SortNodes.h"
#include "formats/FileFormats.h"

#include <string>
#include <vector>

using core::CEditHistory;
using core::CProgDb;
using core::CProgNode;
using core::FileFormat;
using core::FormatByPath;
using core::OrderLikeCounts;
using core::SortOrder;

namespace cli {

namespace {

std::string Programs(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " program" : " programs");
}

std::vector<std::int32_t> AllProgramIds(const CProgDb& db)
{
    std::vector<std::int32_t> ids;
    ids.reserve(db.Progs().Count());
    for (const CProgNode& prog : db.Progs()) {
        ids.push_back(prog.Id());
    }
    return ids;
}

// A step the core refused: the options were checked, so this is not expected, but it must not pass
// for a success.
StepError Refused()
{
    return StepError{kCliFailed, "Unknown Error!"};
}

std::optional<StepError> Dedupe(CEditHistory& history, CProgDb& db, std::ostream& out)
{
    const std::size_t before = db.Progs().Count();
    if (!history.Do(core::RemoveDuplicatePrograms())) {
        return Refused();
    }
    const std::size_t removed = before - db.Progs().Count();
    out << "removed " << removed << (removed == 1 ? " duplicate program\n" : " duplicate programs\n");
    return std::nullopt;
}

std::optional<StepError> Sort(CEditHistory& history, CProgDb& db, const EditStep& step, std::ostream& out)
{
    const SortOrder order = step.descending ? SortOrder::Descending : SortOrder::Ascending;
    std::vector<std::int32_t> ids = AllProgramIds(db);
    const std::size_t count = ids.size();
    if (count > 0 && !history.Do(core::SortNodes(core::Prog, std::move(ids), step.key, order))) {
        return Refused();
    }
    out << "sorted " << Programs(count) << " by " << step.header << (step.descending ? ", descending\n" : "\n");
    return std::nullopt;
}

// The reference is read like an input, by its extension.
std::optional<StepError> OrderLike(CEditHistory& history, const EditStep& step, std::ostream& out)
{
    CliOptions byExtension;
    CProgDb reference;
    std::optional<StepError> error;
    if (!Load(byExtension, step.reference, reference, error, nullptr)) { // a .db or .xls: no flash damage
        return error;
    }
    OrderLikeCounts counts;
    if (!history.Do(core::OrderLike(reference, &counts))) {
        return Refused();
    }
    out << "matched " << counts.matched << " of " << Programs(counts.programs) << '\n';
    return std::nullopt;
}

std::optional<StepError> RunStep(CEditHistory& history, CProgDb& db, const EditStep& step, std::ostream& out)
{
    switch (step.kind) {
    case EditStep::Kind::Dedupe:
        return Dedupe(history, db, out);
    case EditStep::Kind::Sort:
        return Sort(history, db, step, out);
    case EditStep::Kind::OrderLike:
        break;
    }
    return OrderLike(history, step, out);
}

// Usage errors come before any file is read: every reference needs a readable extension.
std::optional<StepError> CheckReferences(const CliOptions& options)
{
    for (const EditStep& step : options.edits) {
        const FileFormat* format = step.kind == EditStep::Kind::OrderLike ? FormatByPath(step.reference) : nullptr;
        if (step.kind == EditStep::Kind::OrderLike && (format == nullptr || format->makeReader == nullptr)) {
            return StepError{kCliUsage, "cannot tell the format of " + step.reference + " (use .db or .xls)"};
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<StepError> Edit(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    std::optional<StepError> error = CheckReferences(options);
    const FileFormat* output = error ? nullptr : OutputFormat(options.files[1], error);
    CProgDb db;
    if (output == nullptr || !Load(options, options.files[0], db, error, &err)) {
        return error;
    }
    CEditHistory history(db);
    for (const EditStep& step : options.edits) {
        error = RunStep(history, db, step, out);
        if (error) {
            return error;
        }
    }
    (void)Save(*output, options.files[1], db, error); // error tells a failure
    return error;
}

} // namespace cli
