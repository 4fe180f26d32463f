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
    // The side copies still running are written before the temporary folder goes.
    ~FrameHarness();
    FrameHarness(const FrameHarness&) = delete;
    FrameHarness& operator=(const FrameHarness&) = delete;

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

    // Makes the window the active one; false when it does not become so.
    bool Activate() const;
    // Whether the spreadsheet copy written next to the file `name` in dir is the one made in one go
    // from a file of these bytes.
    bool SideCopyIsTheOneGoCopy(const std::string& name, const std::string& dbBytes) const;
    // Exactly one message shown, with this text, caption and icon.
    void ExpectMessage(const QString& text, const QString& caption, ui::MessageIcon icon) const;

    core::ScopedPendingError pending; // each window starts with an empty slot and leaves it as it was
    testsupport::FakeUiServices ui;
    testsupport::TempDir dir; // the files the window opens and writes

private:
    testsupport::TempDir m_ownSettings;
    std::string m_settingsFolder;
    CTessaroApp m_app{ui};
};

} // namespace editor
