#include "editor/RecentFilesMenu.h"

#include "access/CAccessDbIn.h"
#include "access/CAccessUserDb25In.h"
#include "access/CAccessUserDbIn.h"
#include "editor/EditorSettings.h"
#include "excel/CAccessExcelIn.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSettings>

#include <memory>

namespace editor {

namespace {
constexpr const char* kGroup = "RecentFiles";

} // namespace

RecentFilesMenu::RecentFilesMenu(QMenu& file, QAction& after, QObject* parent)
    : QObject(parent)
    , m_menu(new QMenu("Open &Recent", &file))
{
    m_menu->setObjectName("recentFilesMenu");
    const QList<QAction*> actions = file.actions();
    const qsizetype at = actions.indexOf(&after) + 1;
    file.insertMenu(at > 0 && at < actions.size() ? actions.at(at) : nullptr, m_menu);
    Load();
    Rebuild();
}

void RecentFilesMenu::Opened(const RecentFile& file)
{
    Load(); // another window of the user's may have added files since
    m_files.Opened(file);
    Save();
    Rebuild();
}

void RecentFilesMenu::Remove(const std::string& path)
{
    Load();
    if (m_files.Remove(path)) {
        Save();
    }
    Rebuild();
}

void RecentFilesMenu::Load()
{
    const std::unique_ptr<QSettings> settings = OpenEditorSettings();
    std::vector<RecentFile> files;
    const int count = settings->beginReadArray(kGroup);
    for (int i = 0; i < count; ++i) {
        settings->setArrayIndex(i);
        const std::optional<core::FormatId> format
            = RecentFiles::FormatFromWord(settings->value("format").toString().toStdString());
        if (!format) {
            continue; // written by a later version, or edited by hand
        }
        RecentFile file{QFile::encodeName(settings->value("path").toString()).toStdString(), *format, std::nullopt};
        bool ok = false;
        const uint address = settings->value("address").toUInt(&ok);
        if (ok) {
            file.address = address;
        }
        files.push_back(std::move(file));
    }
    settings->endArray();
    m_files = RecentFiles(std::move(files));
}

void RecentFilesMenu::Save() const
{
    const std::unique_ptr<QSettings> settings = OpenEditorSettings();
    settings->remove(kGroup);
    settings->beginWriteArray(kGroup, static_cast<int>(m_files.Files().size()));
    for (std::size_t i = 0; i < m_files.Files().size(); ++i) {
        const RecentFile& file = m_files.Files()[i];
        settings->setArrayIndex(static_cast<int>(i));
        settings->setValue("path", QFile::decodeName(QByteArray::fromStdString(file.path)));
        settings->setValue("format", QString::fromStdString(RecentFiles::FormatWord(file.format)));
        if (file.address) {
            settings->setValue("address", *file.address);
        }
    }
    settings->endArray();
    settings->sync();
}

void RecentFilesMenu::Rebuild()
{
    m_menu->clear();
    const std::vector<RecentFile>& files = m_files.Files();
    for (std::size_t i = 0; i < files.size(); ++i) {
        QAction* entry = m_menu->addAction(QString::fromStdString(RecentFiles::MenuText(i, files[i])));
        entry->setStatusTip(QFile::decodeName(QByteArray::fromStdString(files[i].path)));
        const RecentFile file = files[i];
        connect(entry, &QAction::triggered, this, [this, file] { emit OpenRequested(file); });
    }
    m_menu->setEnabled(!files.empty());
}

std::optional<core::FormatId> FormatOfImporter(const core::CAccessIn& importer)
{
    if (dynamic_cast<const core::CAccessDbIn*>(&importer) != nullptr) {
        return core::FormatId::Db;
    }
    if (dynamic_cast<const core::CAccessExcelIn*>(&importer) != nullptr) {
        return core::FormatId::Excel;
    }
    if (dynamic_cast<const core::CAccessUserDb25In*>(&importer) != nullptr) {
        return core::FormatId::UserDb25;
    }
    if (dynamic_cast<const core::CAccessUserDbIn*>(&importer) != nullptr) {
        return core::FormatId::UserDb;
    }
    return std::nullopt;
}

} // namespace editor
