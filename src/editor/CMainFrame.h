#pragma once

#include "db/CNode.h"
#include "edit/IEditObserver.h"
#include "editor/models/NewNodePlace.h"
#include "formats/FileFormats.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QLabel;
class QSplitter;

namespace core {
class CAccessIn;
class CAccessOut;
class CEditHistory;
class CProgDb;
} // namespace core

namespace ui {
class UiServices;
} // namespace ui

namespace editor {

class CodePageMenu;
class CProgBrowseView;
class CProgListView;
class FindCommands;
class FrameActions;
class RecentFilesMenu;
class SideCopyMonitor;
struct RecentFile;
class WindowLayoutKeeper;

// The one window of the editor: menus, toolbar, status bar and the two panes (browse tree left,
// program list right). It owns the channel database, created at the first confirmed import, and
// its edit history, which starts anew with every file opened.
class CMainFrame final : public QMainWindow, private core::IEditObserver
{
    Q_OBJECT

public:
    explicit CMainFrame(ui::UiServices& services, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The file commands.
    void OpenDb();
    void OpenExcel();
    void SaveAsDb();
    void SaveAsExcel();
    void OpenUserDb();
    void OpenUserDb25();
    void MergeDefaultDb();

    // The file commands of one format: its importer or exporter with its file-dialog filter.
    void ImportFormat(core::FormatId id);
    [[nodiscard]] bool ExportFormat(core::FormatId id);
    // Before the database is replaced or the window closes: when there are unsaved changes, asks
    // whether to save them first. False when the user cancelled (the question or the save).
    [[nodiscard]] bool ConfirmDiscard();
    // Asks for a file and reads it with the importer; true when something was imported.
    [[nodiscard]] bool ImportFile(core::CAccessIn& importer, std::string_view filter);
    // Asks for a file name and writes the database with the exporter; true when it was written.
    [[nodiscard]] bool ExportFile(core::CAccessOut& exporter, const std::string& extension, std::string_view filter);
    // Opens a file named on the command line; the format comes from its extension.
    [[nodiscard]] bool OpenPath(const QString& path);
    // File → Open Recent: opens the file as its File command would, a user database at its
    // remembered address without asking; a file that is gone is reported and taken off the list.
    [[nodiscard]] bool OpenRecent(const RecentFile& file);

    // The edit commands, acting on the program list.
    void Undo();
    void Redo();
    // Adds a node of the kind where the list's current row and parent say (see PlaceNewNode).
    void NewNode(core::NodeType kind);
    // Insert: a node of the kind the list shows.
    void InsertNode();
    // Sort...: the shown rows by the column and direction asked for.
    void SortRows();
    // Selects the programs that repeat an earlier one's ServiceId on the same transponder.
    void SelectDuplicates();
    // Order Like...: the programs in the order of a reference file.
    void OrderLike();

    core::CProgDb* Database() const { return m_db.get(); }
    core::CEditHistory* History() const { return m_history.get(); }
    CProgBrowseView* TreeView() const { return m_tree; }
    CProgListView* ListView() const { return m_list; }
    QSplitter* Splitter() const { return m_splitter; }
    QLabel* MessagePane() const { return m_messagePane; }
    QLabel* ModifiedPane() const { return m_modifiedPane; }
    SideCopyMonitor* SideCopies() const { return m_sideCopies; }
    RecentFilesMenu* RecentMenu() const { return m_recent; }
    QAction* Action(int id) const;
    FindCommands* Find() const { return m_find; }
    CodePageMenu* CodePages() const { return m_codePages; }

signals:
    // The About command; the application object shows the box.
    void AboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateStatusBar();
    void CreatePanes();
    void ConnectCommands();
    struct ImportOptions
    {
        bool sideCopy = false; // a default-database file also gets its spreadsheet copy (File menu)
        std::optional<std::uint32_t> address; // a user database's remembered address
    };
    // Reads the file into a new database and shows it; the file goes to the top of Open Recent.
    [[nodiscard]] bool RunImport(core::CAccessIn& importer, const std::string& path, const ImportOptions& options);
    void ShowPendingError(const char* caption);
    void SwitchPane();
    void OnFocusChanged(QWidget* now);
    void UpdateFilterCommand();
    void UpdateEditCommands();
    void UpdateListCommands();
    // The kind Insert adds: the list's, or satellites before anything is shown.
    core::NodeType InsertKind() const;
    std::optional<NewNodePlace> PlaceFor(core::NodeType kind) const;
    void UpdateModifiedPane();
    // The find field, Show All, the code page menu and the kept window layout.
    void CreateViewExtras();
    void RedrawNames();
    void DatabaseEdited(const core::EditChange& change) override;

    ui::UiServices& m_services;
    std::unique_ptr<FrameActions> m_actions;
    std::unique_ptr<core::CProgDb> m_db;
    std::unique_ptr<core::CEditHistory> m_history; // on m_db: declared after it, so it goes first
    QSplitter* m_splitter = nullptr;
    CProgBrowseView* m_tree = nullptr;
    CProgListView* m_list = nullptr;
    QWidget* m_activePane = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_modifiedPane = nullptr;
    SideCopyMonitor* m_sideCopies = nullptr;
    RecentFilesMenu* m_recent = nullptr;
    FindCommands* m_find = nullptr;
    CodePageMenu* m_codePages = nullptr;
    WindowLayoutKeeper* m_layout = nullptr;
    bool m_fromWorkbook = false; // the database was read from a workbook: it is saved back as one
};

} // namespace editor
