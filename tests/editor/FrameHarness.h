#pragma once

#include "common/PendingError.h"
#include "editor/CTessaroApp.h"
#include "support/FakeUiServices.h"
#include "support/TempDir.h"

#include <QString>

#include <optional>
#include <string>

class QAction;
class QTreeWidgetItem;

namespace core {
class CProgDb;
} // namespace core

namespace editor {

class CMainFrame;
class CProgBrowseView;
class CProgListView;

// The main window with scripted dialogs, on a settings folder of its own (a fresh one, or the one
// given, to see what an earlier window kept); the user's real settings are never touched.
class FrameHarness
{
public:
    explicit FrameHarness(std::optional<std::string> settingsFolder = std::nullopt);

    CMainFrame& Frame() const;
    QAction* Action(int id) const;
    CProgBrowseView& Tree() const;
    CProgListView& List() const;
    // The settings folder, for a later window to start from.
    const std::string& SettingsFolder() const { return m_settingsFolder; }

    // Writes the database as a default-database file and opens it with Open Db.
    void Open(core::CProgDb& db);
    // Chooses a tree item as a click would: "All Prog", "Sat", satellite s or transponder t of s.
    QTreeWidgetItem* AllProgItem() const;
    QTreeWidgetItem* SatRootItem() const;
    QTreeWidgetItem* SatItem(int sat) const;
    QTreeWidgetItem* TpItem(int sat, int tp) const;
    void Choose(QTreeWidgetItem* item) const;
    // Clicks an item with the mouse (so a click on the chosen item is seen as such).
    void Click(QTreeWidgetItem* item) const;

    core::ScopedPendingError pending;
    testsupport::FakeUiServices ui;

private:
    testsupport::TempDir m_ownSettings;
    std::string m_settingsFolder;
    testsupport::TempDir m_files;
    CTessaroApp m_app{ui};
};

} // namespace editor
