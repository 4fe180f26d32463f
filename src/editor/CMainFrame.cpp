#include "editor/CMainFrame.h"

#include "access/CAccessDftDbOut.h"
#include "access/CAccessIn.h"
#include "access/CAccessOut.h"
#include "access/FlashDamage.h"
#include "common/OutOfMemory.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "edit/AddNode.h"
#include "edit/CEditHistory.h"
#include "edit/Duplicates.h"
#include "editor/CodePageMenu.h"
#include "editor/CommandIds.h"
#include "editor/FindCommands.h"
#include "editor/FrameActions.h"
#include "editor/ImportSummary.h"
#include "editor/OrderLikeCommand.h"
#include "editor/RecentFilesMenu.h"
#include "editor/SideCopyMonitor.h"
#include "editor/UserDbAddressHooks.h"
#include "editor/WindowLayoutKeeper.h"
#include "editor/WindowTitle.h"
#include "editor/dialogs/CSortDlg.h"
#include "editor/models/NewNodePlace.h"
#include "editor/models/ProgListModel.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/CProgListView.h"
#include "editor/views/TreeIcons.h"
#include "editor/views/TreeNames.h"
#include "formats/FileFormats.h"
#include "ui/UiServices.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

using core::CAccessDftDbOut;
using core::CAccessIn;
using core::CAccessOut;
using core::CEditHistory;
using core::ClearPendingError;
using core::CProgDb;
using core::FileFormat;
using core::Format;
using core::FormatByPath;
using core::FormatId;
using core::kBinaryFilter;
using core::PendingError;
using core::PendingErrorOrUnknown;
using ui::MessageIcon;

namespace editor {

namespace {
constexpr int kTreeWidth = 160;

std::string LocalPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}
} // namespace

CMainFrame::CMainFrame(ui::UiServices& services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_actions(std::make_unique<FrameActions>(*this))
{
    setObjectName("mainFrame");
    setWindowTitle(QString::fromStdString(BuildWindowTitle(ProductVersion(), FileVersion())));
    setWindowIcon(ProgramIcon());
    m_actions->BuildMenusAndToolBar(*this);
    CreateStatusBar();
    m_sideCopies = new SideCopyMonitor(m_services, *this);
    m_recent = new RecentFilesMenu(*menuBar()->actions().front()->menu(), *Action(CommandId::OpenExcel), this);
    connect(m_recent, &RecentFilesMenu::OpenRequested, this, [this](const RecentFile& file) {
        (void)OpenRecent(file); // a failure has been shown to the user
    });
    CreatePanes();
    ConnectCommands();
    resize(960, 600);
    m_splitter->setSizes({kTreeWidth, width() - kTreeWidth});
    CreateViewExtras();
}

void CMainFrame::CreateViewExtras()
{
    CodePageMenu::ApplySavedChoice();
    m_codePages = new CodePageMenu(*findChild<QMenu*>("viewMenu"));
    connect(m_codePages, &CodePageMenu::CodePageChanged, this, &CMainFrame::RedrawNames);
    m_find = new FindCommands({findChild<QToolBar*>("toolBar"),
                               statusBar(),
                               Action(CommandId::Find),
                               Action(CommandId::ShowAll),
                               m_tree,
                               m_list},
                              this);
    m_layout = new WindowLayoutKeeper(*this, *m_splitter, *m_list);
    m_layout->Restore();
}

void CMainFrame::RedrawNames()
{
    // Only the reading of the names changed: the tree keeps its shape, the list its rows.
    if (m_db != nullptr) {
        RenameTreeItems(*m_tree, *m_db);
    }
    m_list->Model().CodePageChanged();
}

CMainFrame::~CMainFrame()
{
    // The focus moves while the widgets go; by then this is no frame any more.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // The views hold plain pointers to the database and listen to its history: they go first.
    std::unique_ptr<QWidget> panes(takeCentralWidget());
    if (m_history != nullptr) {
        m_history->RemoveObserver(*this);
    }
}

void CMainFrame::CreateStatusBar()
{
    m_messagePane = new QLabel("Ready", this);
    m_messagePane->setObjectName("messagePane");
    statusBar()->addWidget(m_messagePane, 1);
    m_modifiedPane = new QLabel(this);
    m_modifiedPane->setObjectName("modifiedPane");
    m_modifiedPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_modifiedPane->setMinimumWidth(m_modifiedPane->fontMetrics().horizontalAdvance("Modified") + 8);
    statusBar()->addPermanentWidget(m_modifiedPane);
    // Qt cannot read the lock keys' states on every platform, so the indicators are shown greyed.
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(indicator, this);
        pane->setObjectName(QString("%1Pane").arg(indicator));
        pane->setEnabled(false);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addPermanentWidget(pane);
    }
}

void CMainFrame::CreatePanes()
{
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName("splitter");
    m_tree = new CProgBrowseView(m_splitter);
    m_list = new CProgListView(m_services, m_splitter);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_list);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    setCentralWidget(m_splitter);
    m_activePane = m_tree;

    connect(m_tree, &CProgBrowseView::ShowItemsRequested, m_list, &CProgListView::ShowItems);
    connect(m_list, &CProgListView::RefreshTreeRequested, m_tree, &CProgBrowseView::RefreshTree);
    connect(m_list, &CProgListView::RowCountChanged, this, &CMainFrame::UpdateFilterCommand);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CMainFrame::UpdateEditCommands);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
}

void CMainFrame::ConnectCommands()
{
    const auto on = [this](int id, auto handler) { connect(Action(id), &QAction::triggered, this, handler); };
    on(CommandId::OpenDb, &CMainFrame::OpenDb);
    on(CommandId::SaveAsDb, &CMainFrame::SaveAsDb);
    on(CommandId::OpenExcel, &CMainFrame::OpenExcel);
    on(CommandId::SaveAsExcel, &CMainFrame::SaveAsExcel);
    on(CommandId::OpenUserDb, &CMainFrame::OpenUserDb);
    on(CommandId::OpenUserDb25, &CMainFrame::OpenUserDb25);
    on(CommandId::MergeDefaultDb, &CMainFrame::MergeDefaultDb);
    on(CommandId::Exit, &CMainFrame::close);
    on(CommandId::About, &CMainFrame::AboutRequested);
    on(CommandId::NextPane, &CMainFrame::SwitchPane);
    on(CommandId::PrevPane, &CMainFrame::SwitchPane);
    on(CommandId::Filter, [this] { m_list->Filter(); });
    on(CommandId::Undo, &CMainFrame::Undo);
    on(CommandId::Redo, &CMainFrame::Redo);
    on(CommandId::Delete, [this] { m_list->DeleteSelected(); });
    on(CommandId::EditCell, [this] {
        const QModelIndex current = m_list->currentIndex();
        if (current.flags().testFlag(Qt::ItemIsEditable)) {
            m_list->edit(current);
        }
    });
    on(CommandId::MoveUp, [this] { m_list->MoveSelectedUp(); });
    on(CommandId::MoveDown, [this] { m_list->MoveSelectedDown(); });
    on(CommandId::MoveToTop, [this] { m_list->MoveSelectedToTop(); });
    on(CommandId::MoveToBottom, [this] { m_list->MoveSelectedToBottom(); });
    on(CommandId::NewSatellite, [this] { NewNode(core::Sat); });
    on(CommandId::NewTransponder, [this] { NewNode(core::Tp); });
    on(CommandId::NewProgram, [this] { NewNode(core::Prog); });
    on(CommandId::InsertNode, &CMainFrame::InsertNode);
    on(CommandId::SortRows, &CMainFrame::SortRows);
    on(CommandId::SelectDuplicates, &CMainFrame::SelectDuplicates);
    on(CommandId::OrderLike, &CMainFrame::OrderLike);

    QToolBar* toolBar = findChild<QToolBar*>("toolBar");
    QAction* toggleToolBar = Action(CommandId::ToggleToolBar);
    toggleToolBar->setChecked(true);
    connect(toggleToolBar, &QAction::toggled, toolBar, &QToolBar::setVisible);
    connect(toolBar, &QToolBar::visibilityChanged, toggleToolBar, &QAction::setChecked);
    QAction* toggleStatusBar = Action(CommandId::ToggleStatusBar);
    toggleStatusBar->setChecked(true);
    connect(toggleStatusBar, &QAction::toggled, statusBar(), &QStatusBar::setVisible);
    UpdateFilterCommand();
}

QAction* CMainFrame::Action(int id) const
{
    return m_actions->Get(id);
}

void CMainFrame::OpenDb()
{
    ImportFormat(FormatId::Db);
}

void CMainFrame::SaveAsDb()
{
    (void)ExportFormat(FormatId::Db); // a failure has been shown to the user
}

void CMainFrame::OpenExcel()
{
    ImportFormat(FormatId::Excel);
}

void CMainFrame::SaveAsExcel()
{
    (void)ExportFormat(FormatId::Excel); // a failure has been shown to the user
}

void CMainFrame::OpenUserDb()
{
    ImportFormat(FormatId::UserDb);
}

void CMainFrame::OpenUserDb25()
{
    ImportFormat(FormatId::UserDb25);
}

void CMainFrame::ImportFormat(FormatId id)
{
    const FileFormat& format = Format(id);
    const std::unique_ptr<CAccessIn> importer = format.makeReader();
    (void)ImportFile(*importer, format.dialogFilter); // a failure has been shown to the user
}

bool CMainFrame::ExportFormat(FormatId id)
{
    const FileFormat& format = Format(id);
    const std::unique_ptr<CAccessOut> exporter = format.makeWriter();
    return ExportFile(*exporter, std::string(format.extension), format.dialogFilter);
}

bool CMainFrame::ConfirmDiscard()
{
    if (m_history == nullptr || !m_history->IsModified()) {
        return true;
    }
    const QString question = "The channel database has unsaved changes. Save them first?";
    switch (m_services.Ask(this, question, "Corvane", true)) {
    case ui::Answer::Yes:
        return ExportFormat(m_fromWorkbook ? FormatId::Excel : FormatId::Db);
    case ui::Answer::No:
        return true;
    case ui::Answer::Cancel:
        break;
    }
    return false;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (ConfirmDiscard()) {
        m_sideCopies->WaitForAll(); // the copies of the files opened are written before the window goes
        m_layout->SaveGeometry();
        event->accept();
    } else {
        event->ignore();
    }
}

void CMainFrame::MergeDefaultDb()
{
    if (m_db == nullptr || m_db->IsEmpty()) {
        m_services.ShowMessage(this, "No data to merge!", "Empty", MessageIcon::Error);
        return;
    }
    ui::FileDialogRequest request;
    request.mode = ui::FileDialogRequest::Mode::Save;
    request.filter = kBinaryFilter; // a flash image
    request.mustExist = true; // the image is rewritten in place
    const std::optional<QString> path = m_services.AskFileName(this, request);
    if (!path) {
        return;
    }
    CAccessDftDbOut exporter;
    if (!core::FailOnOutOfMemory([&] { return exporter.Export(LocalPath(*path), *m_db); })) {
        ShowPendingError("Merge Error");
        return;
    }
    QString finished = "Merge default program finished!";
    if (!exporter.BackupPath().empty()) {
        finished
            += "\nThe image before the first merge is kept in " + QString::fromStdString(exporter.BackupPath()) + ".";
    }
    m_services.ShowMessage(this, finished, "Finish", MessageIcon::Information);
}

bool CMainFrame::ImportFile(CAccessIn& importer, std::string_view filter)
{
    if (!ConfirmDiscard()) {
        return false;
    }
    ui::FileDialogRequest request;
    request.mode = ui::FileDialogRequest::Mode::Open;
    request.filter = filter;
    request.mustExist = true;
    const std::optional<QString> path = m_services.AskFileName(this, request);
    if (!path) {
        return false;
    }
    return RunImport(importer, LocalPath(*path), ImportOptions{true, std::nullopt});
}

bool CMainFrame::OpenPath(const QString& path)
{
    const std::string localPath = LocalPath(path);
    const FileFormat* format = FormatByPath(localPath);
    // Anything but a workbook is read as a default-database file, whose reader says what is wrong with it.
    if (format == nullptr || format->makeReader == nullptr) {
        format = &Format(FormatId::Db);
    }
    const std::unique_ptr<CAccessIn> importer = format->makeReader();
    return RunImport(*importer, localPath, ImportOptions{});
}

bool CMainFrame::OpenRecent(const RecentFile& file)
{
    const QString path = QFile::decodeName(QByteArray::fromStdString(file.path));
    if (!QFile::exists(path)) {
        m_services.ShowMessage(this,
                               "The file " + path + " no longer exists. It is taken off the list.",
                               "Open Recent",
                               MessageIcon::Warning);
        m_recent->Remove(file.path);
        return false;
    }
    if (!ConfirmDiscard()) {
        return false;
    }
    const std::unique_ptr<CAccessIn> importer = Format(file.format).makeReader();
    return RunImport(*importer, file.path, ImportOptions{true, file.address});
}

bool CMainFrame::RunImport(CAccessIn& importer, const std::string& path, const ImportOptions& options)
{
    // The file is read into a database of its own: a failed read leaves the shown one, and the views
    // on it, exactly as they were.
    auto read = std::make_unique<CProgDb>();
    bool imported = false;
    const UserDbAddressHooks address(options.address);
    {
        ui::BusyCursor busy(m_services);
        imported = core::FailOnOutOfMemory([&] { return importer.Import(path, *read); });
    }
    if (!imported) {
        ShowPendingError("Load Error");
        return false;
    }
    // The views hold plain pointers to the database: they move to the new one before the old one
    // goes. The opened file starts a history of its own.
    auto history = std::make_unique<CEditHistory>(*read);
    history->AddObserver(*this);
    m_tree->RebuildTree(read.get());
    m_list->AttachDatabase(read.get(), history.get());
    if (m_history != nullptr) {
        m_history->RemoveObserver(*this);
    }
    m_history = std::move(history);
    m_db = std::move(read);
    const FileFormat* format = FormatByPath(path);
    m_fromWorkbook = format != nullptr && format == &Format(FormatId::Excel);
    m_messagePane->setText(QString::fromStdString(ImportSummary(*m_db)));
    UpdateEditCommands();
    UpdateModifiedPane();
    // A default-database file also gets a spreadsheet beside it (ch.db gives ch.dbxls), written
    // from a snapshot on a worker while the window is already usable.
    const std::optional<FormatId> readAs = FormatOfImporter(importer);
    if (options.sideCopy && readAs == FormatId::Db) {
        m_sideCopies->Start(*m_db, path + "xls");
    }
    if (readAs) {
        m_recent->Opened(RecentFile{path, *readAs, address.Address()});
    }
    if (importer.Damage().Any()) {
        // What could be read is shown; the user learns that the rest of the image was not.
        m_services.ShowMessage(this,
                               QString::fromStdString(core::FlashDamageWarning(importer.Damage())),
                               "Damaged Image",
                               MessageIcon::Warning);
    }
    return true;
}

bool CMainFrame::ExportFile(CAccessOut& exporter, const std::string& extension, std::string_view filter)
{
    if (m_db == nullptr || m_db->IsEmpty()) {
        m_services.ShowMessage(this, "No data to save!", "Empty", MessageIcon::Error);
        return false;
    }
    ui::FileDialogRequest request;
    request.mode = ui::FileDialogRequest::Mode::Save;
    request.filter = filter;
    request.defaultExtension = extension;
    request.initialName = "DefaultDb." + extension;
    const std::optional<QString> path = m_services.AskFileName(this, request);
    if (!path) {
        return false;
    }
    bool exported = false;
    {
        ui::BusyCursor busy(m_services);
        exported = core::FailOnOutOfMemory([&] { return exporter.Export(LocalPath(*path), *m_db); });
    }
    if (!exported) {
        ShowPendingError("Save Error");
        return false;
    }
    if (m_history != nullptr) {
        m_history->MarkSaved();
    }
    UpdateModifiedPane();
    m_services.ShowMessage(this, "Save default program finished!", "Finish", MessageIcon::Information);
    return true;
}

void CMainFrame::UpdateModifiedPane()
{
    m_modifiedPane->setText(m_history != nullptr && m_history->IsModified() ? "Modified" : "");
}

void CMainFrame::ShowPendingError(const char* caption)
{
    m_services.ShowMessageWithDetail(this,
                                     QString::fromStdString(PendingErrorOrUnknown()),
                                     caption,
                                     MessageIcon::Error,
                                     QString::fromStdString(PendingError().detail));
    ClearPendingError();
}

void CMainFrame::SwitchPane()
{
    // With two panes the next and the previous pane are the same one.
    QWidget* other = m_activePane == m_list ? static_cast<QWidget*>(m_tree) : m_list;
    other->setFocus(Qt::ShortcutFocusReason);
    m_activePane = other;
    UpdateFilterCommand();
}

void CMainFrame::OnFocusChanged(QWidget* now)
{
    for (QWidget* pane : {static_cast<QWidget*>(m_tree), static_cast<QWidget*>(m_list)}) {
        if (now != nullptr && (now == pane || pane->isAncestorOf(now))) {
            m_activePane = pane;
        }
    }
    UpdateFilterCommand();
}

void CMainFrame::UpdateFilterCommand()
{
    // Filter belongs to the list: it is offered only while the list is the active pane and has
    // something to narrow.
    Action(CommandId::Filter)->setEnabled(m_activePane == m_list && m_list->RowCount() > 1);
    UpdateEditCommands();
}

void CMainFrame::UpdateEditCommands()
{
    const bool canUndo = m_history != nullptr && m_history->CanUndo();
    const bool canRedo = m_history != nullptr && m_history->CanRedo();
    QAction* undo = Action(CommandId::Undo);
    undo->setEnabled(canUndo);
    undo->setText(canUndo ? "&Undo " + QString::fromStdString(m_history->UndoName()) : "&Undo");
    QAction* redo = Action(CommandId::Redo);
    redo->setEnabled(canRedo);
    redo->setText(canRedo ? "&Redo " + QString::fromStdString(m_history->RedoName()) : "&Redo");
    // The row commands act on the list's selection, so only while the list is the active pane.
    const bool rows = m_history != nullptr && m_activePane == m_list && m_list->HasSelection();
    // Edit Cell edits the current cell when its column is editable, and does nothing on the others.
    for (const int id : {CommandId::Delete,
                         CommandId::EditCell,
                         CommandId::MoveUp,
                         CommandId::MoveDown,
                         CommandId::MoveToTop,
                         CommandId::MoveToBottom}) {
        Action(id)->setEnabled(rows);
    }
    UpdateListCommands();
}

void CMainFrame::UpdateListCommands()
{
    const bool open = m_history != nullptr;
    const bool hasSats = open && !m_db->Sats().IsEmpty();
    const bool hasProgs = open && !m_db->Progs().IsEmpty();
    Action(CommandId::NewSatellite)->setEnabled(open);
    Action(CommandId::NewTransponder)->setEnabled(hasSats);
    Action(CommandId::NewProgram)->setEnabled(open && PlaceFor(core::Prog).has_value());
    Action(CommandId::InsertNode)->setEnabled(open && PlaceFor(InsertKind()).has_value());
    Action(CommandId::SortRows)->setEnabled(open && m_list->RowCount() > 1);
    Action(CommandId::SelectDuplicates)->setEnabled(hasProgs);
    Action(CommandId::OrderLike)->setEnabled(hasProgs);
}

core::NodeType CMainFrame::InsertKind() const
{
    return m_list->Model().HasColumns() ? NodeTypeOf(m_list->Kind()) : core::Sat;
}

std::optional<NewNodePlace> CMainFrame::PlaceFor(core::NodeType kind) const
{
    if (m_db == nullptr) {
        return std::nullopt;
    }
    ListContext context;
    context.shown = m_list->Kind();
    context.shownParent = m_list->Model().HasColumns() ? m_list->ShownParent() : core::InvalidId;
    context.currentId = m_list->Model().HasColumns() ? m_list->CurrentId() : core::InvalidId;
    if (context.shownParent < 0) {
        context.shownParent = core::InvalidId;
    }
    return PlaceNewNode(*m_db, kind, context);
}

void CMainFrame::NewNode(core::NodeType kind)
{
    const std::optional<NewNodePlace> place = PlaceFor(kind);
    if (m_history == nullptr || !place) {
        return;
    }
    // The list selects the new node's row when it shows its kind (it follows the history).
    (void)m_history->Do(core::AddNode(kind, place->parentId, place->afterId)); // the place exists
}

void CMainFrame::InsertNode()
{
    NewNode(InsertKind());
}

void CMainFrame::SortRows()
{
    if (m_history == nullptr || m_list->RowCount() < 2) {
        return;
    }
    CSortDlg dialog(NodeTypeOf(m_list->Kind()), m_list->HeaderTexts(), this);
    const int column = m_list->currentIndex().column();
    if (column >= 0) {
        dialog.SelectHeader(m_list->HeaderTexts().value(column));
    }
    if (m_services.ExecDialog(dialog) != QDialog::Accepted || dialog.Key().empty()) {
        return;
    }
    // Refused only for a key the rows lack, which the dialog does not offer.
    (void)m_list->SortShownRows(dialog.Key(), dialog.Order());
}

void CMainFrame::SelectDuplicates()
{
    if (m_db == nullptr) {
        return;
    }
    const std::vector<std::int32_t> duplicates = core::FindDuplicatePrograms(*m_db);
    if (m_list->Kind() != ListKind::Programs || !m_list->Model().HasColumns()) {
        m_list->ShowItems(ListKind::Programs, -1); // the duplicates may sit anywhere
    }
    m_list->SelectIds(duplicates);
    m_list->setFocus();
    m_messagePane->setText(QString("Selected %1 duplicate programs").arg(duplicates.size()));
}

void CMainFrame::OrderLike()
{
    if (m_history == nullptr) {
        return;
    }
    if (const std::optional<QString> status = RunOrderLike(m_services, this, *m_history)) {
        m_messagePane->setText(*status);
    }
}

void CMainFrame::Undo()
{
    if (m_history != nullptr) {
        (void)m_history->Undo(); // refused when there is nothing to undo: the command is disabled then
    }
}

void CMainFrame::Redo()
{
    if (m_history != nullptr) {
        (void)m_history->Redo(); // refused when there is nothing to redo: the command is disabled then
    }
}

void CMainFrame::DatabaseEdited(const core::EditChange& /*change*/)
{
    // The counts in the status bar follow every change.
    m_messagePane->setText(QString::fromStdString(ImportSummary(*m_db)));
    UpdateEditCommands();
    UpdateModifiedPane();
}

} // namespace editor
