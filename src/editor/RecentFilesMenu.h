#pragma once

#include "editor/RecentFiles.h"

#include <QObject>

#include <optional>

class QAction;
class QMenu;

namespace core {
class CAccessIn;
} // namespace core

namespace editor {

// File → Open Recent: the files opened last, kept per user in the settings ("Corvane" in the
// user's settings folder), rebuilt on every change.
class RecentFilesMenu final : public QObject
{
    Q_OBJECT

public:
    // Places the submenu in the file menu, right below `after`.
    RecentFilesMenu(QMenu& file, QAction& after, QObject* parent);

    QMenu* Menu() const { return m_menu; }
    const RecentFiles& Files() const { return m_files; }
    void Opened(const RecentFile& file);
    void Remove(const std::string& path);

signals:
    // An entry was chosen.
    void OpenRequested(const editor::RecentFile& file);

private:
    void Load();
    void Save() const;
    void Rebuild();

    QMenu* m_menu;
    RecentFiles m_files;
};

// The format an importer reads; nullopt for one that is not a file format's reader.
std::optional<core::FormatId> FormatOfImporter(const core::CAccessIn& importer);

} // namespace editor
