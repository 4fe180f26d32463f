#include "editor/OrderLikeCommand.h"

#include "access/CAccessIn.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "edit/CEditHistory.h"
#include "edit/OrderLike.h"
#include "formats/FileFormats.h"
#include "ui/UiServices.h"

#include <QFile>

#include <memory>

namespace editor {

namespace {
constexpr const char* kLoadCaption = "Load Error";

// Reads the reference into db; false (with the reason pending) when it cannot be read.
bool ReadReference(const std::string& path, core::CProgDb& db)
{
    const core::FileFormat* format = core::FormatByPath(path);
    // Anything but a workbook is read as a default database, whose reader says what is wrong with it.
    if (format == nullptr || format->makeReader == nullptr || format->id != core::FormatId::Excel) {
        format = &core::Format(core::FormatId::Db);
    }
    const std::unique_ptr<core::CAccessIn> reader = format->makeReader();
    return reader->Import(path, db);
}

QString MatchedText(const core::OrderLikeCounts& counts)
{
    return QString("Matched %1 of %2 program%3")
        .arg(counts.matched)
        .arg(counts.programs)
        .arg(counts.programs == 1 ? "" : "s");
}
} // namespace

std::optional<QString> RunOrderLike(ui::UiServices& services, QWidget* parent, core::CEditHistory& history)
{
    ui::FileDialogRequest request;
    request.mode = ui::FileDialogRequest::Mode::Open;
    request.filter = kReferenceFilter;
    request.mustExist = true;
    const std::optional<QString> path = services.AskFileName(parent, request);
    if (!path) {
        return std::nullopt;
    }
    core::CProgDb reference;
    bool read = false;
    {
        ui::BusyCursor busy(services);
        read = ReadReference(QFile::encodeName(*path).toStdString(), reference);
    }
    if (!read) {
        services.ShowMessage(
            parent, QString::fromStdString(core::PendingErrorOrUnknown()), kLoadCaption, ui::MessageIcon::Error);
        core::ClearPendingError();
        return std::nullopt;
    }
    core::OrderLikeCounts counts;
    if (!history.Do(core::OrderLike(reference, &counts))) {
        services.ShowMessage(
            parent, "The programs could not be put in the reference's order.", "Order Like", ui::MessageIcon::Error);
        return std::nullopt;
    }
    return MatchedText(counts);
}

} // namespace editor
