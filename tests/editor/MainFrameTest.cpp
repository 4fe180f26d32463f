// The main window: title, menus, toolbar, status bar, panes, keys, and the file commands with
// every box they show.
#include "FrameHarness.h"
#include "TestDatabase.h"
#include "common/PendingError.h"
#include "editor/CMainFrame.h"
#include "editor/CTessaroApp.h"
#include "editor/CommandIds.h"
#include "editor/EditorSettings.h"
#include "editor/RecentFilesMenu.h"
#include "editor/SideCopyMonitor.h"
#include "editor/models/ProgListModel.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/CProgListView.h"
#include "editor/views/TreeIcons.h"
#include "excel/CAccessExcelOut.h"
#include "formats/FileFormats.h"
#include "support/FakeUiServices.h"
#include "support/TempDir.h"

#include "access/CAccessIn.h"
#include "access/CAccessOut.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <functional>

using ui::FileDialogRequest;
using ui::MessageIcon;

using testsupport::ClickButton;
using testsupport::FakeUiServices;
using testsupport::TempDir;

using core::CAccessIn;
using core::CAccessOut;
using core::CProgDb;
using core::CProgNode;
using core::CSatNode;
using core::CTpNode;
using core::InvalidId;
using core::kProgramDbFilter;
using core::PendingError;
using core::ScopedPendingError;
using core::SetPendingError;

namespace editor {

namespace {
// An importer or exporter whose outcome the test decides; it notes whether the wait cursor was up.
class ScriptedImporter final : public CAccessIn
{
public:
    ScriptedImporter(FakeUiServices& ui, std::function<bool(CProgDb&)> run)
        : m_ui(ui)
        , m_run(std::move(run))
    { }
    bool Import(const std::string& path, CProgDb& db) override
    {
        paths.push_back(path);
        ranUnderWaitCursor = m_ui.IsBusy();
        sawEmptyDatabase = db.IsEmpty();
        return m_run(db);
    }
    std::vector<std::string> paths;
    bool ranUnderWaitCursor = false;
    bool sawEmptyDatabase = false;

private:
    FakeUiServices& m_ui;
    std::function<bool(CProgDb&)> m_run;
};

class ScriptedExporter final : public CAccessOut
{
public:
    explicit ScriptedExporter(std::function<bool()> run)
        : m_run(std::move(run))
    { }
    bool Export(const std::string& path, CProgDb&) override
    {
        paths.push_back(path);
        return m_run();
    }
    std::vector<std::string> paths;

private:
    std::function<bool()> m_run;
};

bool FillThreePrograms(CProgDb& db)
{
    auto filled = MakeDatabase(1, 1, 3);
    auto sat = std::make_unique<CSatNode>();
    sat->SetName("Sat0");
    db.Sats().Add(std::move(sat));
    db.Tps().Add(std::make_unique<CTpNode>(InvalidId, 0));
    for (int i = 0; i < 3; ++i) {
        db.Progs().Add(std::make_unique<CProgNode>(InvalidId, 0));
    }
    return true;
}

// The main window with the helpers of the file commands' tests. The window reads and writes settings
// of its own, never the user's nor another test's; two windows given the same folder see each
// other's settings, as two runs of the program would.
struct Window : FrameHarness
{
    explicit Window(std::optional<std::string> settingsFolder = std::nullopt)
        : FrameHarness(std::move(settingsFolder))
    { }

    // Writes a default-database file with this many programs on one transponder and opens it.
    QString OpenDbWith(int programs)
    {
        auto db = MakeDatabase(1, 1, programs);
        const QString path = QString::fromStdString(dir.Write("ch.db", DbFileBytes(*db)));
        ui.QueueFile(path);
        Action(CommandId::OpenDb)->trigger();
        return path;
    }
    // A readable default-database file: its import succeeds and leaves nothing pending.
    QString ValidDbFile()
    {
        auto db = MakeDatabase(1, 1, 1);
        return QString::fromStdString(dir.Write("valid.db", DbFileBytes(*db)));
    }
    void Expect(const QString& text, const QString& caption, MessageIcon icon, const QString& detail = QString())
    {
        ExpectMessage(text, caption, icon);
        if (QTest::currentTestFailed()) {
            return;
        }
        QCOMPARE(ui.messages[0].detail, detail);
        QVERIFY(!ui.messages[0].underWaitCursor);
    }
};

// The rows of a failed command's message: "earlier" is a text left pending before the command,
// "own" the command's own reason and "shown" the text the box shows.
void AddReasonRows(const QString& own, const QString& earlier)
{
    QTest::addColumn<QString>("earlier");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("shown");
    QTest::addRow("nothing pending") << ""
                                     << ""
                                     << "Unknown Error!";
    QTest::addRow("own reason") << "" << own << own;
    QTest::addRow("earlier text left pending") << earlier << "" << earlier;
}

// A scripted importer's or exporter's failure, with the reason given left pending unless empty.
bool FailWithReason(const QString& own)
{
    if (!own.isEmpty()) {
        SetPendingError(own.toStdString());
    }
    return false;
}

QStringList Texts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions) {
        texts << (action->isSeparator() ? QString("-") : action->text());
    }
    return texts;
}
} // namespace

class MainFrameTest : public QObject
{
    Q_OBJECT

private slots:
    void titleComesFromTheVersionRecord()
    {
        Window w;
        QCOMPARE(w.Frame().windowTitle(), "Corvane V2.000 Build 11123012 -- For Vemtrix(Small Endian)");
        QVERIFY(w.Frame().isVisible());
        QVERIFY(!w.Frame().isMaximized());
    }

    void menusInOrder()
    {
        Window w;
        const QList<QAction*> menus = w.Frame().menuBar()->actions();
        QCOMPARE(Texts(menus), (QStringList{"&File", "&Edit", "&View", "&Help"}));
        const QStringList file{"Open Db",
                               "Open Excel",
                               "Open &Recent",
                               "-",
                               "Save As Db",
                               "Save As Excel",
                               "-",
                               "Open User Db...",
                               "Open User Db 2.5...",
                               "Merge Into Flash Image...",
                               "-",
                               "E&xit"};
        QCOMPARE(Texts(menus[0]->menu()->actions()), file);
        const QStringList edit{"&Undo",
                               "&Redo",
                               "-",
                               "&Delete",
                               "Edit &Cell",
                               "-",
                               "Move &Up",
                               "Move Do&wn",
                               "Move to &Top",
                               "Move to &Bottom",
                               "-",
                               "New &Satellite",
                               "New T&ransponder",
                               "New &Program",
                               "-",
                               "S&ort...",
                               "Select Dup&licates",
                               "Order &Like..."};
        QCOMPARE(Texts(menus[1]->menu()->actions()), edit);
        QCOMPARE(Texts(menus[2]->menu()->actions()),
                 (QStringList{"&Toolbar", "&Status Bar", "-", "&Find", "Show &All", "&Code Page"}));
        QCOMPARE(Texts(menus[3]->menu()->actions()), QStringList{"&About Tessaro..."});
        QVERIFY(w.Action(CommandId::ToggleToolBar)->isChecked());
        QVERIFY(w.Action(CommandId::ToggleStatusBar)->isChecked());
    }

    void toolBarHasDeadClipboardButtonsAndAbout()
    {
        Window w;
        auto* toolBar = w.Frame().findChild<QToolBar*>("toolBar");
        const QList<QAction*> buttons = toolBar->actions();
        QCOMPARE(buttons.size(), 7); // then the Find field
        QCOMPARE(buttons[0], w.Action(CommandId::Cut));
        QCOMPARE(buttons[1], w.Action(CommandId::Copy));
        QCOMPARE(buttons[2], w.Action(CommandId::Paste));
        QVERIFY(buttons[3]->isSeparator());
        QCOMPARE(buttons[4], w.Action(CommandId::About));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(!buttons[i]->isEnabled());
        }
        QVERIFY(buttons[4]->isEnabled());
        QVERIFY(buttons[5]->isSeparator());
        QCOMPARE(toolBar->widgetForAction(buttons[6])->objectName(), "findField");
        QCOMPARE(toolBar->iconSize(), QSize(16, 15));
    }

    void promptsAndTooltips_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("tooltip");
        QTest::addRow("about") << CommandId::About << "Display program information, version number and copyright"
                               << "About";
        QTest::addRow("exit") << CommandId::Exit << "Quit the application; prompts to save documents"
                              << "Exit";
        QTest::addRow("toolbar") << CommandId::ToggleToolBar << "Show or hide the toolbar"
                                 << "Toggle ToolBar";
        QTest::addRow("status bar") << CommandId::ToggleStatusBar << "Show or hide the status bar"
                                    << "Toggle StatusBar";
        QTest::addRow("copy") << CommandId::Copy << "Copy the selection and put it on the Clipboard"
                              << "Copy";
        QTest::addRow("cut") << CommandId::Cut << "Cut the selection and put it on the Clipboard"
                             << "Cut";
        QTest::addRow("paste") << CommandId::Paste << "Insert Clipboard contents"
                               << "Paste";
        QTest::addRow("undo") << CommandId::Undo << "Undo the last action"
                              << "Undo";
        QTest::addRow("redo") << CommandId::Redo << "Redo the previously undone action"
                              << "Redo";
        QTest::addRow("delete") << CommandId::Delete << "Delete the selected rows with everything under them"
                                << "Delete";
        QTest::addRow("edit cell") << CommandId::EditCell << "Change the value of the current cell"
                                   << "Edit Cell";
        QTest::addRow("move up") << CommandId::MoveUp << "Move the selected rows up one row"
                                 << "Move Up";
        QTest::addRow("move down") << CommandId::MoveDown << "Move the selected rows down one row"
                                   << "Move Down";
        QTest::addRow("move to top") << CommandId::MoveToTop << "Move the selected rows above the first row"
                                     << "Move to Top";
        QTest::addRow("move to bottom") << CommandId::MoveToBottom << "Move the selected rows below the last row"
                                        << "Move to Bottom";
        QTest::addRow("new satellite") << CommandId::NewSatellite << "Add a satellite after the current one"
                                       << "New Satellite";
        QTest::addRow("new transponder") << CommandId::NewTransponder << "Add a transponder to the selected satellite"
                                         << "New Transponder";
        QTest::addRow("new program") << CommandId::NewProgram << "Add a program to the selected transponder"
                                     << "New Program";
        QTest::addRow("insert") << CommandId::InsertNode
                                << "Add a node of the kind the list shows after the current row"
                                << "Insert";
        QTest::addRow("sort") << CommandId::SortRows << "Sort the rows shown by one column"
                              << "Sort";
        QTest::addRow("select duplicates")
            << CommandId::SelectDuplicates
            << "Select every program that repeats an earlier one's service on its transponder"
            << "Select Duplicates";
        QTest::addRow("order like") << CommandId::OrderLike << "Put the programs in the order of a reference list"
                                    << "Order Like";
        QTest::addRow("next pane") << CommandId::NextPane << "Switch to the next window pane"
                                   << "Next Pane";
        QTest::addRow("previous pane") << CommandId::PrevPane << "Switch back to the previous window pane"
                                       << "Previous Pane";
    }
    void promptsAndTooltips()
    {
        QFETCH(int, id);
        QFETCH(QString, prompt);
        QFETCH(QString, tooltip);
        Window w;
        QCOMPARE(w.Action(id)->statusTip(), prompt);
        QCOMPARE(w.Action(id)->toolTip(), tooltip);
    }

    void fileCommandsHaveNoPrompt()
    {
        Window w;
        for (const int id : {CommandId::OpenDb,
                             CommandId::OpenExcel,
                             CommandId::SaveAsDb,
                             CommandId::SaveAsExcel,
                             CommandId::OpenUserDb,
                             CommandId::MergeDefaultDb,
                             CommandId::OpenUserDb25,
                             CommandId::Filter}) {
            QVERIFY2(w.Action(id)->statusTip().isEmpty(), qPrintable(QString::number(id)));
        }
    }

    void statusBarPanes()
    {
        Window w;
        QCOMPARE(w.Frame().MessagePane()->text(), "Ready");
        for (const char* name : {"CAP", "NUM", "SCRL"}) {
            auto* pane = w.Frame().findChild<QLabel*>(QString("%1Pane").arg(name));
            QVERIFY2(pane != nullptr, name);
            QCOMPARE(pane->text(), QString(name));
        }
        // A prompt shows while a command is pointed at, then the idle text is back.
        QStatusTipEvent tip(w.Action(CommandId::About)->statusTip());
        QApplication::sendEvent(&w.Frame(), &tip);
        QCOMPARE(w.Frame().statusBar()->currentMessage(), "Display program information, version number and copyright");
        QStatusTipEvent none{QString()};
        QApplication::sendEvent(&w.Frame(), &none);
        QVERIFY(w.Frame().MessagePane()->isVisible());
        QCOMPARE(w.Frame().MessagePane()->text(), "Ready");
    }

    void splitterStartsWithTheTreeAt160()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.Frame()));
        QSplitter* splitter = w.Frame().Splitter();
        QCOMPARE(splitter->widget(0), static_cast<QWidget*>(&w.Tree()));
        QCOMPARE(splitter->widget(1), static_cast<QWidget*>(&w.List()));
        QCOMPARE(splitter->sizes().at(0), 160);
        w.Frame().resize(1200, 700);
        QTRY_COMPARE(splitter->sizes().at(0), 160); // the list takes the extra width
    }

    void toggleToolBarAndStatusBar()
    {
        Window w;
        auto* toolBar = w.Frame().findChild<QToolBar*>("toolBar");
        w.Action(CommandId::ToggleToolBar)->trigger();
        QVERIFY(!toolBar->isVisible());
        QVERIFY(!w.Action(CommandId::ToggleToolBar)->isChecked());
        w.Action(CommandId::ToggleToolBar)->trigger();
        QVERIFY(toolBar->isVisible());
        w.Action(CommandId::ToggleStatusBar)->trigger();
        QVERIFY(!w.Frame().statusBar()->isVisible());
        QVERIFY(!w.Action(CommandId::ToggleStatusBar)->isChecked());
        w.Action(CommandId::ToggleStatusBar)->trigger();
        QVERIFY(w.Frame().statusBar()->isVisible());
    }

    void f6SwitchesPanes()
    {
        Window w;
        QVERIFY(w.Activate());
        w.Tree().setFocus();
        QTest::keyClick(&w.Frame(), Qt::Key_F6);
        QTRY_VERIFY(w.List().hasFocus());
        QTest::keyClick(&w.Frame(), Qt::Key_F6, Qt::ShiftModifier);
        QTRY_VERIFY(w.Tree().hasFocus());
    }

    void filterOnlyFromTheListWithTwoRows_data()
    {
        QTest::addColumn<int>("programs");
        QTest::addColumn<bool>("listActive");
        QTest::addColumn<bool>("enabled");
        QTest::addRow("tree active") << 5 << false << false;
        QTest::addRow("list active, no row") << 0 << true << false;
        QTest::addRow("list active, one row") << 1 << true << false;
        QTest::addRow("list active, two rows") << 2 << true << true;
    }
    void filterOnlyFromTheListWithTwoRows()
    {
        QFETCH(int, programs);
        QFETCH(bool, listActive);
        QFETCH(bool, enabled);
        Window w;
        QVERIFY(w.Activate());
        w.OpenDbWith(programs);
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        (listActive ? static_cast<QWidget&>(w.List()) : static_cast<QWidget&>(w.Tree())).setFocus();
        QTRY_COMPARE(w.Action(CommandId::Filter)->isEnabled(), enabled);
        QTest::keyClick(&w.Frame(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(w.ui.dialogTitles, enabled ? QStringList{"Prog Filter"} : QStringList{});
    }

    void filterThatMatchesNothingDisablesFilter()
    {
        Window w;
        QVERIFY(w.Activate());
        w.OpenDbWith(4);
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        w.List().setFocus();
        QTRY_VERIFY(w.Action(CommandId::Filter)->isEnabled());
        w.ui.QueueDialog([](QDialog& dialog) {
            dialog.findChild<QLineEdit*>("valueEdit")->setText("999");
            ClickButton(dialog, "addButton");
            ClickButton(dialog, "okButton");
            return dialog.result();
        });
        QTest::keyClick(&w.Frame(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(w.List().RowCount(), 0);
        QVERIFY(!w.Action(CommandId::Filter)->isEnabled());
        w.Tree().setCurrentItem(w.Tree().topLevelItem(1));
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        w.List().setFocus();
        QTRY_VERIFY(w.Action(CommandId::Filter)->isEnabled());
    }

    void saveWithNothingToSave_data()
    {
        QTest::addColumn<bool>("importFirst");
        QTest::addColumn<int>("command");
        QTest::addRow("db before any import") << false << CommandId::SaveAsDb;
        QTest::addRow("db after an empty import") << true << CommandId::SaveAsDb;
        QTest::addRow("excel before any import") << false << CommandId::SaveAsExcel;
    }
    void saveWithNothingToSave()
    {
        QFETCH(bool, importFirst);
        QFETCH(int, command);
        Window w;
        if (importFirst) {
            ScriptedImporter empty(w.ui, [](CProgDb&) { return true; });
            w.ui.QueueFile("/nowhere/empty.db");
            QVERIFY(w.Frame().ImportFile(empty, kProgramDbFilter));
        }
        w.ui.fileRequests.clear();
        w.Action(command)->trigger();
        w.Expect("No data to save!", "Empty", MessageIcon::Error);
        QVERIFY(w.ui.fileRequests.empty());
    }

    void cancelledDialogsChangeNothing()
    {
        Window w;
        w.Action(CommandId::OpenDb)->trigger();
        QVERIFY(w.Frame().Database() == nullptr); // created only by a confirmed dialog
        w.OpenDbWith(3);
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        w.ui.QueueCancel();
        w.Action(CommandId::OpenDb)->trigger();
        w.ui.QueueCancel();
        w.Action(CommandId::SaveAsDb)->trigger();
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 3);
        QCOMPARE(w.List().RowCount(), 3);
        QCOMPARE(w.Tree().topLevelItemCount(), 2);
        QVERIFY(w.ui.messages.empty());
        QCOMPARE(w.ui.fileRequests.size(), std::size_t(4));
    }

    void openDbReadsTheFileAndRebuildsTheViews()
    {
        Window w;
        w.OpenDbWith(3);
        QCOMPARE(w.ui.fileRequests.size(), std::size_t(1));
        const FileDialogRequest& request = w.ui.fileRequests[0];
        QCOMPARE(request.mode, FileDialogRequest::Mode::Open);
        QCOMPARE(QString::fromStdString(request.filter), "Program Db File(*.db)|*.db|All Files (*.*)|*.*||");
        QVERIFY(request.mustExist);
        QVERIFY(request.initialName.empty());
        QVERIFY(request.defaultExtension.empty());
        QVERIFY(w.ui.messages.empty());
        QCOMPARE(w.ui.busyCount, 1);
        QVERIFY(!w.ui.IsBusy());

        QCOMPARE(w.Tree().topLevelItemCount(), 2);
        QCOMPARE(w.Tree().topLevelItem(1)->child(0)->text(0), "Sat0");
        QCOMPARE(w.List().Model().columnCount(), 0); // empty until the tree selection
        QCOMPARE(w.List().RowCount(), 0);
        QCOMPARE(w.Frame().MessagePane()->text(), "1 satellite, 1 transponder, 3 programs");
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        QCOMPARE(w.List().RowCount(), 3);
    }

    void importRunsOnAnEmptiedDatabaseUnderTheWaitCursor()
    {
        Window w;
        w.OpenDbWith(5);
        ScriptedImporter importer(w.ui, FillThreePrograms);
        w.ui.QueueFile("/some/where/file.db");
        QVERIFY(w.Frame().ImportFile(importer, kProgramDbFilter));
        QCOMPARE(importer.paths, std::vector<std::string>{"/some/where/file.db"});
        QVERIFY(importer.ranUnderWaitCursor);
        QVERIFY(importer.sawEmptyDatabase);
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 3);
    }

    void importFailures_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // a file's content; empty: no file at all
        QTest::addColumn<QString>("text");
        QTest::addRow("missing file") << QByteArray() << "Open file failed!";
        QTest::addRow("too short") << QByteArray("Sg8K") << "File size error!";
        QTest::addRow("wrong magic") << QByteArray(4096, 'x') << "File format error!";
    }
    void importFailures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        Window w;
        const std::string path = bytes.isEmpty() ? w.dir.File("gone.db") : w.dir.Write("bad.db", bytes.toStdString());
        w.ui.QueueFile(QString::fromStdString(path));
        w.Action(CommandId::OpenDb)->trigger();
        w.Expect(text, "Load Error", MessageIcon::Error);
        QVERIFY(!PendingError().pending);
        QVERIFY(w.Frame().Database() == nullptr); // a failed read leaves the window as it was
        QCOMPARE(w.Tree().topLevelItemCount(), 0);
        QCOMPARE(w.Frame().MessagePane()->text(), "Ready");
    }

    void brokenWorkbookNamesTheReason_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // the workbook's content; empty: no file at all
        QTest::addColumn<QString>("detail");
        QTest::addRow("missing file") << QByteArray() << "No such file or directory";
        QTest::addRow("unended element") << QByteArray("<Workbook><Worksheet>")
                                         << "element \"Worksheet\" is not ended at line 1, column 11";
        QTest::addRow("stray end tag") << QByteArray("<Workbook>\r\n <Table>\r\n  </Row>\r\n</Workbook>")
                                       << "end tag \"Row\" has no start tag at line 3, column 3";
    }
    void brokenWorkbookNamesTheReason()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, detail);
        Window w;
        const std::string path = bytes.isEmpty() ? w.dir.File("gone.xls") : w.dir.Write("bad.xls", bytes.toStdString());
        w.ui.QueueFile(QString::fromStdString(path));
        w.Action(CommandId::OpenExcel)->trigger();
        w.Expect(QString::fromStdString("Open Excel failed! File = " + path), "Load Error", MessageIcon::Error, detail);
        QVERIFY(!PendingError().pending);
        QVERIFY(PendingError().detail.empty());
    }

    void failedImportShowsPendingOrUnknown_data()
    {
        AddReasonRows("Bad header", "File size error!");
        QTest::addRow("own reason wins") << "File size error!"
                                         << "Bad header"
                                         << "Bad header";
    }
    void failedImportShowsPendingOrUnknown()
    {
        QFETCH(QString, earlier);
        QFETCH(QString, own);
        QFETCH(QString, shown);
        Window w;
        if (!earlier.isEmpty()) {
            CTessaroApp::SetPendingError(earlier.toStdString());
        }
        ScriptedImporter importer(w.ui, [own](CProgDb&) { return FailWithReason(own); });
        w.ui.QueueFile(w.ValidDbFile());
        QVERIFY(!w.Frame().ImportFile(importer, kProgramDbFilter));
        w.Expect(shown, "Load Error", MessageIcon::Error);
        QVERIFY(!CTessaroApp::PendingError().pending);
        QVERIFY(CTessaroApp::PendingError().text.empty());
    }

    void aFailedImportChangesNothing()
    {
        Window w;
        w.OpenDbWith(4);
        const CProgDb* before = w.Frame().Database();
        const std::string bytesBefore = DbFileBytes(*w.Frame().Database());
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        QCOMPARE(w.List().RowCount(), 4);
        const QString summary = w.Frame().MessagePane()->text();
        ScriptedImporter half(w.ui, [](CProgDb& db) {
            db.Progs().Add(std::make_unique<CProgNode>(InvalidId, 0)); // one node read, then failure
            return false;
        });
        w.ui.QueueFile(w.ValidDbFile());
        QVERIFY(!w.Frame().ImportFile(half, kProgramDbFilter));
        QVERIFY(half.sawEmptyDatabase); // the file was read into a database of its own
        // The database, the tree, the list and the status bar are as they were.
        QCOMPARE(w.Frame().Database(), before);
        QCOMPARE(DbFileBytes(*w.Frame().Database()), bytesBefore);
        QCOMPARE(w.Tree().topLevelItemCount(), 2);
        QCOMPARE(w.Tree().topLevelItem(1)->childCount(), 1);
        QCOMPARE(w.List().RowCount(), 4);
        QCOMPARE(w.List().Model().index(3, 0).data().toString(), "3");
        QVERIFY(!w.List().Model().index(3, 2).data().toString().isEmpty()); // the cells still have their texts
        QCOMPARE(w.Frame().MessagePane()->text(), summary);
        // The rows are still the database's: deleting one removes the program.
        w.List().selectionModel()->select(w.List().Model().index(3, 0),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        w.List().DeleteSelected();
        QCOMPARE(w.List().RowCount(), 3);
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 3);
        w.Tree().setCurrentItem(w.Tree().topLevelItem(1)->child(0)->child(0));
        QCOMPARE(w.List().RowCount(), 3);
    }

    void saveAsDbWritesAndConfirms()
    {
        Window w;
        w.OpenDbWith(3);
        const QString target = QString::fromStdString(w.dir.File("out.db"));
        w.ui.fileRequests.clear();
        w.ui.QueueFile(target);
        w.Action(CommandId::SaveAsDb)->trigger();
        QCOMPARE(w.ui.fileRequests.size(), std::size_t(1));
        const FileDialogRequest& request = w.ui.fileRequests[0];
        QCOMPARE(request.mode, FileDialogRequest::Mode::Save);
        QCOMPARE(QString::fromStdString(request.initialName), "DefaultDb.db");
        QCOMPARE(QString::fromStdString(request.defaultExtension), "db");
        QCOMPARE(QString::fromStdString(request.filter), QString::fromLatin1(kProgramDbFilter));
        QVERIFY(!request.mustExist);
        w.Expect("Save default program finished!", "Finish", MessageIcon::Information);
        QCOMPARE(w.ui.busyCount, 2);

        // What was written reads back the same.
        w.ui.messages.clear();
        w.ui.QueueFile(target);
        w.Action(CommandId::OpenDb)->trigger();
        QVERIFY(w.ui.messages.empty());
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 3);
    }

    void saveFailures_data() { AddReasonRows("Write file failed!", "File format error!"); }
    void saveFailures()
    {
        QFETCH(QString, earlier);
        QFETCH(QString, own);
        QFETCH(QString, shown);
        Window w;
        w.OpenDbWith(2);
        if (!earlier.isEmpty()) {
            SetPendingError(earlier.toStdString());
        }
        ScriptedExporter exporter([own] { return FailWithReason(own); });
        w.ui.QueueFile("/out.db");
        QVERIFY(!w.Frame().ExportFile(exporter, "db", kProgramDbFilter));
        w.Expect(shown, "Save Error", MessageIcon::Error);
        QVERIFY(!PendingError().pending);
    }

    void saveIntoAMissingFolderFails()
    {
        Window w;
        w.OpenDbWith(2);
        w.ui.QueueFile(QString::fromStdString(w.dir.File("no/such/folder/out.db")));
        w.Action(CommandId::SaveAsDb)->trigger();
        w.Expect("Open file failed!", "Save Error", MessageIcon::Error);
    }

    void aboutShowsTheBox()
    {
        Window w;
        w.Action(CommandId::About)->trigger();
        QCOMPARE(w.ui.dialogTitles, QStringList{"About Tessaro"});
    }

    void f1ShowsTheAboutBox()
    {
        Window w;
        w.Frame().show();
        QVERIFY(QTest::qWaitForWindowActive(&w.Frame()));
        QCOMPARE(w.Action(CommandId::About)->shortcut(), QKeySequence(Qt::Key_F1));
        QTest::keyClick(&w.List(), Qt::Key_F1);
        QCOMPARE(w.ui.dialogTitles, QStringList{"About Tessaro"});
    }

    void windowCarriesTheProgramIcon()
    {
        // The About box's icon, in every size the desktop theme installs.
        Window w;
        const QIcon icon = w.Frame().windowIcon();
        QVERIFY(!icon.isNull());
        for (const int size : {16, 32, 48, 256}) {
            QCOMPARE(icon.pixmap(size, size).size(), QSize(size, size));
        }
        QCOMPARE(icon.pixmap(32, 32).toImage(), ProgramIcon().pixmap(32, 32).toImage());
    }

    // A big file: the list is usable, timers run and the status bar shows the copy's progress while
    // the copy is written; it ends as the same bytes as the copy made in one go.
    void sideCopyRunsWhileTheWindowAnswers()
    {
        Window w;
        auto db = MakeDatabase(2, 100, 200);
        const std::string bytes = DbFileBytes(*db);
        w.ui.QueueFile(QString::fromStdString(w.dir.Write("ch.db", bytes)));
        w.Action(CommandId::OpenDb)->trigger();
        QVERIFY(w.ui.messages.empty());
        SideCopyMonitor& copies = *w.Frame().SideCopies();
        QVERIFY(copies.Busy()); // 40000 programs are not written in the time the import returned
        const QRegularExpression progress("^Writing ch\\.dbxls\u2026 (\\d+)%$");
        QVERIFY2(progress.match(copies.ProgressPane()->text()).hasMatch(), qPrintable(copies.ProgressPane()->text()));
        QVERIFY(!copies.ProgressPane()->isHidden());

        bool timerRan = false;
        QTimer::singleShot(0, &w.Frame(), [&timerRan] { timerRan = true; });
        QTRY_VERIFY(timerRan);
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0)); // "All Prog"
        QCOMPARE(w.List().RowCount(), 40000);
        QVERIFY(copies.Busy()); // all of it while the copy is still being written
        QTRY_VERIFY_WITH_TIMEOUT(!copies.Busy(), 120000);
        QVERIFY(copies.ProgressPane()->isHidden());
        QVERIFY(w.ui.messages.empty());

        QVERIFY(w.SideCopyIsTheOneGoCopy("ch.db", bytes));
    }

    // A copy that fails is reported when it ends, with the writer's reason; what the window thread
    // had pending stays as it was.
    void sideCopyFailureIsReported()
    {
        Window w;
        auto db = MakeDatabase(1, 1, 3);
        const std::string path = w.dir.Write("ch.db", DbFileBytes(*db));
        QVERIFY(QDir().mkpath(QString::fromStdString(path + "xls"))); // a folder where the copy should go
        std::string reason;
        {
            const ScopedPendingError direct;
            core::CAccessExcelOut writer;
            QVERIFY(!writer.Export(path + "xls", *db));
            reason = PendingError().text;
        }
        SetPendingError("left by an earlier step");
        w.ui.QueueFile(QString::fromStdString(path));
        w.Action(CommandId::OpenDb)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!w.Frame().SideCopies()->Busy(), 30000);
        w.Expect(QString::fromStdString("The spreadsheet copy " + path + "xls was not written: " + reason),
                 "Save Error",
                 MessageIcon::Error);
        QCOMPARE(QString::fromStdString(PendingError().text), "left by an earlier step");
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 3); // the import itself stands
    }

    // Closing the window waits, under the wait cursor, until the copy is written.
    void closingWaitsForTheSideCopy()
    {
        Window w;
        auto db = MakeDatabase(1, 50, 200);
        const std::string bytes = DbFileBytes(*db);
        w.ui.QueueFile(QString::fromStdString(w.dir.Write("ch.db", bytes)));
        w.Action(CommandId::OpenDb)->trigger();
        QVERIFY(w.Frame().SideCopies()->Busy());
        const int busyBefore = w.ui.busyCount;
        QVERIFY(w.Frame().close());
        QVERIFY(!w.Frame().SideCopies()->Busy());
        QCOMPARE(w.ui.busyCount, busyBefore + 1);
        QVERIFY(!w.ui.IsBusy());
        QVERIFY(w.ui.messages.empty());
        QVERIFY(w.SideCopyIsTheOneGoCopy("ch.db", bytes));
        QCOMPARE(QDir(QString::fromStdString(w.dir.Path())).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"ch.db", "ch.dbxls"}));
    }

    // File → Open Recent: newest first, 8 at most, each file once, kept in the user's settings
    // (here a folder of the test's own).
    void openRecentKeepsTheLastEight()
    {
        const TempDir shared;
        QStringList expected;
        {
            Window w(shared.Path());
            QMenu* recent = w.Frame().RecentMenu()->Menu();
            QCOMPARE(recent->title(), "Open &Recent");
            QVERIFY(!recent->isEnabled());
            QMenu* file = w.Frame().menuBar()->actions().at(0)->menu();
            QCOMPARE(Texts(file->actions()).mid(0, 4), QStringList({"Open Db", "Open Excel", "Open &Recent", "-"}));
            auto db = MakeDatabase(1, 1, 1);
            std::vector<std::string> paths;
            for (int i = 0; i < 10; ++i) {
                paths.push_back(w.dir.Write("ch" + std::to_string(i) + ".db", DbFileBytes(*db)));
                w.ui.QueueFile(QString::fromStdString(paths.back()));
                w.Action(CommandId::OpenDb)->trigger();
            }
            w.ui.QueueFile(QString::fromStdString(paths[5])); // again: it moves to the top
            w.Action(CommandId::OpenDb)->trigger();
            for (const int i : {5, 9, 8, 7, 6, 4, 3, 2}) {
                expected << QString::fromStdString("&" + std::to_string(expected.size() + 1) + " "
                                                   + paths[std::size_t(i)] + " (Db)");
            }
            QVERIFY(recent->isEnabled());
            QCOMPARE(Texts(recent->actions()), expected);
            QVERIFY(w.ui.messages.empty());
        }
        Window again(shared.Path()); // another run of the program finds them
        QCOMPARE(Texts(again.Frame().RecentMenu()->Menu()->actions()), expected);
        const std::unique_ptr<QSettings> settings = OpenEditorSettings();
        QVERIFY(settings->fileName().startsWith(QString::fromStdString(shared.Path())));
        QCOMPARE(settings->beginReadArray("RecentFiles"), 8);
        settings->endArray();
    }

    // Each kind opens as its File command would: a workbook as a workbook (saved back as one), a
    // default-database file with its side copy. A file that is gone is reported and dropped.
    void openRecentOpensEachKindAndDropsMissingFiles()
    {
        const TempDir shared;
        Window w(shared.Path());
        const QString db = w.OpenDbWith(3);
        QTRY_VERIFY_WITH_TIMEOUT(!w.Frame().SideCopies()->Busy(), 30000);
        const QString book = QString::fromStdString(w.dir.File("book.xls"));
        w.ui.QueueFile(book);
        w.Action(CommandId::SaveAsExcel)->trigger();
        w.ui.QueueFile(book);
        w.Action(CommandId::OpenExcel)->trigger();
        QVERIFY(QFile::remove(db + "xls"));
        QMenu* recent = w.Frame().RecentMenu()->Menu();
        QCOMPARE(Texts(recent->actions()), QStringList({"&1 " + book + " (Excel)", "&2 " + db + " (Db)"}));
        w.ui.messages.clear();

        recent->actions().at(1)->trigger(); // the default-database file
        QVERIFY(w.ui.messages.empty());
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 3);
        QTRY_VERIFY_WITH_TIMEOUT(!w.Frame().SideCopies()->Busy(), 30000);
        QVERIFY(QFile::exists(db + "xls"));
        QCOMPARE(Texts(recent->actions()), QStringList({"&1 " + db + " (Db)", "&2 " + book + " (Excel)"}));

        recent->actions().at(1)->trigger(); // the workbook
        QVERIFY(w.ui.messages.empty());
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 3);
        QVERIFY(!QFile::exists(book + "xls")); // a workbook gets no side copy

        QVERIFY(QFile::remove(db));
        const int before = int(w.Frame().Database()->Progs().Count());
        recent->actions().at(1)->trigger(); // the default-database file, gone
        w.Expect(
            "The file " + db + " no longer exists. It is taken off the list.", "Open Recent", MessageIcon::Warning);
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), before); // the window shows what it showed
        QCOMPARE(Texts(recent->actions()), QStringList({"&1 " + book + " (Excel)"}));
        Window again(shared.Path());
        QCOMPARE(Texts(again.Frame().RecentMenu()->Menu()->actions()), QStringList({"&1 " + book + " (Excel)"}));
    }

    void exitWithNothingChangedClosesWithoutAsking()
    {
        Window w;
        w.OpenDbWith(2);
        w.Action(CommandId::Exit)->trigger();
        QVERIFY(!w.Frame().isVisible());
        QVERIFY(w.ui.messages.empty());
    }

    void modifiedPaneFollowsTheHistory()
    {
        Window w;
        QCOMPARE(w.Frame().ModifiedPane()->text(), "");
        w.OpenDbWith(3);
        QCOMPARE(w.Frame().ModifiedPane()->text(), "");
        const QString title = w.Frame().windowTitle();
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        w.List().selectionModel()->select(w.List().Model().index(0, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        w.List().DeleteSelected();
        QCOMPARE(w.Frame().ModifiedPane()->text(), "Modified");
        QCOMPARE(w.Frame().windowTitle(), title);
        w.Action(CommandId::Undo)->trigger();
        QCOMPARE(w.Frame().ModifiedPane()->text(), "");
        w.Action(CommandId::Redo)->trigger();
        QCOMPARE(w.Frame().ModifiedPane()->text(), "Modified");
        w.ui.QueueFile(QString::fromStdString(w.dir.File("saved.db")));
        w.Action(CommandId::SaveAsDb)->trigger();
        QCOMPARE(w.Frame().ModifiedPane()->text(), "");
        w.Action(CommandId::Undo)->trigger(); // away from the saved point
        QCOMPARE(w.Frame().ModifiedPane()->text(), "Modified");
    }

    // With unsaved changes, Exit, closing the window and Open ask first; Yes saves (its dialog
    // cancelled cancels the command), No goes on, Cancel stops.
    void unsavedChangesQuestion_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveChosen"); // the save dialog of Yes gets a file; else it is cancelled
        QTest::addColumn<bool>("goesOn");
        for (const char* command : {"exit", "close", "open"}) {
            QTest::addRow("%s: yes, saved", command) << command << int(ui::Answer::Yes) << true << true;
            QTest::addRow("%s: yes, save cancelled", command) << command << int(ui::Answer::Yes) << false << false;
            QTest::addRow("%s: no", command) << command << int(ui::Answer::No) << false << true;
            QTest::addRow("%s: cancel", command) << command << int(ui::Answer::Cancel) << false << false;
        }
    }
    void unsavedChangesQuestion()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(bool, saveChosen);
        QFETCH(bool, goesOn);
        Window w;
        w.OpenDbWith(3);
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        w.List().selectionModel()->select(w.List().Model().index(0, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        w.List().DeleteSelected();
        const std::string saved = w.dir.File("saved.db");
        w.ui.QueueAnswer(static_cast<ui::Answer>(answer));
        if (static_cast<ui::Answer>(answer) == ui::Answer::Yes) {
            if (saveChosen) {
                w.ui.QueueFile(QString::fromStdString(saved));
            } else {
                w.ui.QueueCancel();
            }
        }
        const auto other = MakeDatabase(1, 1, 5);
        const QString otherPath = QString::fromStdString(w.dir.Write("other.db", DbFileBytes(*other)));
        if (command == "open") {
            if (goesOn) {
                w.ui.QueueFile(otherPath);
            }
            w.Action(CommandId::OpenDb)->trigger();
        } else if (command == "exit") {
            w.Action(CommandId::Exit)->trigger();
        } else {
            QVERIFY(w.Frame().close() == goesOn);
        }
        QVERIFY(!w.ui.messages.empty());
        QCOMPARE(w.ui.messages[0].text, "The channel database has unsaved changes. Save them first?");
        QCOMPARE(w.ui.messages[0].caption, "Corvane");
        QVERIFY(w.ui.messages[0].question);
        QVERIFY(w.ui.messages[0].withCancel);
        const bool yes = static_cast<ui::Answer>(answer) == ui::Answer::Yes;
        if (yes) {
            QCOMPARE(w.ui.fileRequests.at(1).mode, FileDialogRequest::Mode::Save);
            QCOMPARE(w.ui.fileRequests.at(1).defaultExtension, "db");
        }
        QCOMPARE(QFile::exists(QString::fromStdString(saved)), yes && saveChosen);
        if (yes && saveChosen) {
            QCOMPARE(w.ui.messages.at(1).text, "Save default program finished!");
        }
        if (command == "open") {
            QCOMPARE(int(w.Frame().Database()->Progs().Count()), goesOn ? 5 : 2);
            QCOMPARE(w.Frame().ModifiedPane()->text(), goesOn ? "" : "Modified");
        } else {
            QCOMPARE(w.Frame().isVisible(), !goesOn);
        }
    }

    void aWorkbookIsSavedBackAsAWorkbook()
    {
        Window w;
        auto db = MakeDatabase(1, 1, 3);
        const QString book = QString::fromStdString(w.dir.File("book.xls"));
        w.ui.QueueFile(QString::fromStdString(w.dir.Write("ch.db", DbFileBytes(*db))));
        w.Action(CommandId::OpenDb)->trigger();
        w.ui.QueueFile(book);
        w.Action(CommandId::SaveAsExcel)->trigger();
        w.ui.QueueFile(book);
        w.Action(CommandId::OpenExcel)->trigger();
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 3);
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        w.List().selectionModel()->select(w.List().Model().index(0, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        w.List().DeleteSelected();
        w.ui.QueueAnswer(ui::Answer::Yes);
        w.ui.QueueCancel();
        w.Action(CommandId::Exit)->trigger();
        QVERIFY(w.Frame().isVisible());
        QCOMPARE(w.ui.fileRequests.back().defaultExtension, "xls");
    }

    void undoAndClipboardKeysDoNothing()
    {
        Window w;
        QVERIFY(w.Activate());
        w.OpenDbWith(3);
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        w.List().setFocus();
        w.List().selectionModel()->select(w.List().Model().index(1, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QGuiApplication::clipboard()->setText("untouched");
        for (const auto& [key, mods] :
             std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>{{Qt::Key_Z, Qt::ControlModifier},
                                                                    {Qt::Key_Backspace, Qt::AltModifier},
                                                                    {Qt::Key_X, Qt::ControlModifier},
                                                                    {Qt::Key_Delete, Qt::ShiftModifier},
                                                                    {Qt::Key_C, Qt::ControlModifier},
                                                                    {Qt::Key_Insert, Qt::ControlModifier},
                                                                    {Qt::Key_V, Qt::ControlModifier},
                                                                    {Qt::Key_Insert, Qt::ShiftModifier}}) {
            QTest::keyClick(&w.List(), key, mods);
            QTest::keyClick(&w.Tree(), key, mods);
        }
        QCOMPARE(w.List().RowCount(), 3);
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 3);
        QCOMPARE(QGuiApplication::clipboard()->text(), "untouched");
        QVERIFY(w.ui.messages.empty());
    }

    void commandLineOpensAFile()
    {
        FakeUiServices ui;
        TempDir dir;
        auto db = MakeDatabase(2, 3, 4);
        const std::string path = dir.Write("startup.db", DbFileBytes(*db));
        CTessaroApp app(ui);
        QVERIFY(app.InitInstance({"corvane", QString::fromStdString(path)}));
        QVERIFY(ui.fileRequests.empty());
        QVERIFY(ui.messages.empty());
        QCOMPARE(app.MainFrame()->MessagePane()->text(), "2 satellites, 6 transponders, 24 programs");
        QCOMPARE(app.MainFrame()->TreeView()->topLevelItem(1)->childCount(), 2);
    }

    void commandLineWithABadFileReportsIt()
    {
        FakeUiServices ui;
        TempDir dir;
        CTessaroApp app(ui);
        QVERIFY(app.InitInstance({"corvane", QString::fromStdString(dir.File("missing.db"))}));
        QCOMPARE(ui.messages.size(), std::size_t(1));
        QCOMPARE(ui.messages[0].text, "Open file failed!");
        QCOMPARE(ui.messages[0].caption, "Load Error");
        QVERIFY(app.MainFrame()->isVisible());
    }

    void deleteInTheWindowRebuildsTheTree()
    {
        Window w;
        auto db = MakeDatabase(3, 2, 2);
        w.ui.QueueFile(QString::fromStdString(w.dir.Write("three.db", DbFileBytes(*db))));
        w.Action(CommandId::OpenDb)->trigger();
        w.Tree().setCurrentItem(w.Tree().topLevelItem(1));
        QCOMPARE(w.List().RowCount(), 3);
        w.List().selectionModel()->select(w.List().Model().index(1, 0),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QTest::keyClick(&w.List(), Qt::Key_Delete);
        QCOMPARE(w.Tree().topLevelItem(1)->childCount(), 2);
        QCOMPARE(w.Tree().topLevelItem(1)->child(1)->text(0), "Sat2");
        QCOMPARE(w.List().RowCount(), 2); // the list keeps its rows but the deleted one
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 8);
    }

    void draggingASatelliteMovesItInTheTree()
    {
        Window w;
        auto db = MakeDatabase(3, 1, 1);
        w.ui.QueueFile(QString::fromStdString(w.dir.Write("three.db", DbFileBytes(*db))));
        w.Action(CommandId::OpenDb)->trigger();
        w.Frame().show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.Frame()));
        w.Tree().setCurrentItem(w.Tree().topLevelItem(1)); // "Sat": every satellite
        QCOMPARE(w.List().RowCount(), 3);
        const auto satNames = [&w] {
            QStringList names;
            for (int i = 0; i < w.Tree().topLevelItem(1)->childCount(); ++i) {
                names << w.Tree().topLevelItem(1)->child(i)->text(0);
            }
            return names;
        };
        QCOMPARE(satNames(), QStringList({"Sat0", "Sat1", "Sat2"}));
        CProgListView& list = w.List();
        list.selectionModel()->select(list.Model().index(2, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list.BeginDrag(2);
        list.DragMoveTo(list.visualRect(list.Model().index(0, 0)).center());
        list.EndDrag();
        QCOMPARE(satNames(), QStringList({"Sat2", "Sat0", "Sat1"}));
        QCOMPARE(w.Tree().topLevelItem(1)->child(0)->childCount(), 1); // its transponder went with it
        // Dropped below the last row, the first satellite goes to the end, in the tree as well.
        list.selectionModel()->clearSelection();
        list.selectionModel()->select(list.Model().index(0, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
        list.BeginDrag(0);
        list.DragMoveTo(list.visualRect(list.Model().index(2, 0)).center() + QPoint(0, 3 * list.rowHeight(2)));
        list.EndDrag();
        QCOMPARE(satNames(), QStringList({"Sat0", "Sat1", "Sat2"}));
        QCOMPARE(w.List().Model().RowIds(), std::vector<std::int32_t>({0, 1, 2}));
    }

    // Each row command from its menu item and from its key, on programs 0..5 with rows 1 and 2
    // selected, then Undo and Redo from their keys.
    void rowCommands_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QList<int>>("order");
        QTest::addColumn<QString>("undoText");
        const QList<std::tuple<const char*, int, QKeyCombination, QList<int>, const char*>> cases{
            {"delete", CommandId::Delete, QKeyCombination(Qt::Key_Delete), {0, 3, 4, 5}, "&Undo Delete 2 Programs"},
            {"move up", CommandId::MoveUp, Qt::CTRL | Qt::Key_Up, {1, 2, 0, 3, 4, 5}, "&Undo Move 2 Programs"},
            {"move down", CommandId::MoveDown, Qt::CTRL | Qt::Key_Down, {0, 3, 1, 2, 4, 5}, "&Undo Move 2 Programs"},
            {"move to top", CommandId::MoveToTop, Qt::CTRL | Qt::Key_Home, {1, 2, 0, 3, 4, 5}, "&Undo Move 2 Programs"},
            {"move to bottom",
             CommandId::MoveToBottom,
             Qt::CTRL | Qt::Key_End,
             {0, 3, 4, 5, 1, 2},
             "&Undo Move 2 Programs"},
        };
        for (const auto& [name, id, key, order, undoText] : cases) {
            QTest::addRow("%s from the menu", name) << id << false << key << order << QString(undoText);
            QTest::addRow("%s from its key", name) << id << true << key << order << QString(undoText);
        }
    }
    void rowCommands()
    {
        QFETCH(int, id);
        QFETCH(bool, byKey);
        QFETCH(QKeyCombination, key);
        QFETCH(QList<int>, order);
        QFETCH(QString, undoText);
        Window w;
        QVERIFY(w.Activate());
        w.OpenDbWith(6);
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        w.List().setFocus();
        QVERIFY(w.Action(id)->isEnabled()); // a list shown comes with its first row selected
        w.List().selectionModel()->clearSelection();
        QVERIFY(!w.Action(id)->isEnabled());
        QVERIFY(!w.Action(CommandId::Undo)->isEnabled());
        for (const int row : {1, 2}) {
            w.List().selectionModel()->select(w.List().Model().index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        QVERIFY(w.Action(id)->isEnabled());
        if (byKey) {
            QTest::keyClick(&w.List(), key.key(), key.keyboardModifiers());
        } else {
            w.Action(id)->trigger();
        }
        const auto programOrder = [&w] {
            QList<int> ids;
            for (const CProgNode& prog : w.Frame().Database()->Progs()) {
                ids << prog.Id();
            }
            return ids;
        };
        const auto viewOrder = [&w] {
            QList<int> ids;
            for (const std::int32_t rowId : w.List().Model().RowIds()) {
                ids << rowId;
            }
            return ids;
        };
        QCOMPARE(programOrder(), order);
        QCOMPARE(viewOrder(), order);
        QCOMPARE(w.Action(CommandId::Undo)->text(), undoText);
        QCOMPARE(w.Frame().MessagePane()->text(), QString("1 satellite, 1 transponder, %1 programs").arg(order.size()));

        QTest::keyClick(&w.List(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(programOrder(), (QList<int>{0, 1, 2, 3, 4, 5}));
        QCOMPARE(viewOrder(), (QList<int>{0, 1, 2, 3, 4, 5}));
        QVERIFY(!w.Action(CommandId::Undo)->isEnabled());
        QCOMPARE(w.Action(CommandId::Undo)->text(), "&Undo");
        QCOMPARE(w.Action(CommandId::Redo)->text(), QString(undoText).replace("&Undo", "&Redo"));
        QCOMPARE(w.Frame().MessagePane()->text(), "1 satellite, 1 transponder, 6 programs");

        QTest::keyClick(&w.List(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(programOrder(), order);
        QTest::keyClick(&w.List(), Qt::Key_Backspace, Qt::AltModifier); // the other Undo key
        QCOMPARE(programOrder(), (QList<int>{0, 1, 2, 3, 4, 5}));
        QTest::keyClick(&w.List(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // the other Redo key
        QCOMPARE(programOrder(), order);
        w.Action(CommandId::Undo)->trigger();
        QCOMPARE(programOrder(), (QList<int>{0, 1, 2, 3, 4, 5}));
        w.Action(CommandId::Redo)->trigger();
        QCOMPARE(programOrder(), order);
        QVERIFY(w.ui.messages.empty());
    }

    void rowCommandsBelongToTheList()
    {
        Window w;
        QVERIFY(w.Activate());
        w.OpenDbWith(3);
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        w.List().selectionModel()->select(w.List().Model().index(1, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        w.Tree().setFocus();
        QVERIFY(!w.Action(CommandId::Delete)->isEnabled());
        QTest::keyClick(&w.Tree(), Qt::Key_Delete);
        QTest::keyClick(&w.Tree(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 3);
        QCOMPARE(w.Frame().Database()->Progs().begin()->Id(), 0);
    }

    void undoRestoresDeletedSatellitesInTheTree()
    {
        Window w;
        auto db = MakeDatabase(3, 2, 2);
        w.ui.QueueFile(QString::fromStdString(w.dir.Write("three.db", DbFileBytes(*db))));
        w.Action(CommandId::OpenDb)->trigger();
        w.Tree().setCurrentItem(w.Tree().topLevelItem(1));
        w.List().selectionModel()->select(w.List().Model().index(0, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        w.List().DeleteSelected();
        QCOMPARE(w.Tree().topLevelItem(1)->childCount(), 2);
        QCOMPARE(w.Frame().MessagePane()->text(), "2 satellites, 4 transponders, 8 programs");
        QCOMPARE(w.Action(CommandId::Undo)->text(), "&Undo Delete Satellite");
        w.Action(CommandId::Undo)->trigger();
        QCOMPARE(w.Tree().topLevelItem(1)->childCount(), 3);
        QCOMPARE(w.Tree().topLevelItem(1)->child(0)->text(0), "Sat0");
        QCOMPARE(w.Tree().topLevelItem(1)->child(0)->childCount(), 2);
        QCOMPARE(w.List().RowCount(), 3);
        QCOMPARE(w.Frame().MessagePane()->text(), "3 satellites, 6 transponders, 12 programs");
    }

    void newNodesFromTheMenuAndInsert()
    {
        Window w;
        QVERIFY(w.Activate());
        QVERIFY(!w.Action(CommandId::NewSatellite)->isEnabled()); // no database yet
        auto db = MakeDatabase(2, 2, 2);
        w.ui.QueueFile(QString::fromStdString(w.dir.Write("two.db", DbFileBytes(*db))));
        w.Action(CommandId::OpenDb)->trigger();
        const auto ids = [&w](auto& list) {
            QList<int> order;
            for (const auto& node : list) {
                order << node.Id();
            }
            return order;
        };
        CProgDb& base = *w.Frame().Database();

        // Insert on the satellite list: a satellite after the current one, its row selected.
        w.Tree().setCurrentItem(w.Tree().topLevelItem(1));
        w.List().setFocus();
        w.List().setCurrentIndex(w.List().Model().index(0, 0));
        QVERIFY(w.Action(CommandId::InsertNode)->isEnabled());
        QTest::keyClick(&w.List(), Qt::Key_Insert);
        QCOMPARE(ids(base.Sats()), (QList<int>{0, 2, 1}));
        QCOMPARE(base.Sats().Find(2)->Name(), "New Satellite");
        QCOMPARE(w.List().RowCount(), 3);
        QVERIFY(w.List().selectionModel()->isRowSelected(1, {}));
        QCOMPARE(w.Tree().topLevelItem(1)->childCount(), 3);
        QCOMPARE(w.Action(CommandId::Undo)->text(), "&Undo New Satellite");
        QCOMPARE(w.Frame().MessagePane()->text(), "3 satellites, 4 transponders, 8 programs");

        // New Transponder from the menu: under the current satellite, after its last transponder.
        w.List().setCurrentIndex(w.List().Model().index(0, 0));
        w.Action(CommandId::NewTransponder)->trigger();
        QCOMPARE(ids(base.Tps()), (QList<int>{0, 1, 4, 2, 3}));
        QCOMPARE(base.Tps().Find(4)->ParentId(), 0);
        QCOMPARE(w.Action(CommandId::Undo)->text(), "&Undo New Transponder");

        // New Program on the list of every program: after the current one, on its transponder.
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        w.List().setFocus();
        w.List().setCurrentIndex(w.List().Model().index(3, 0));
        w.Action(CommandId::NewProgram)->trigger();
        QCOMPARE(ids(base.Progs()), (QList<int>{0, 1, 2, 3, 8, 4, 5, 6, 7}));
        QCOMPARE(base.Progs().Find(8)->ParentId(), 1);
        QCOMPARE(base.Progs().Find(8)->ProgName(), "New Program");
        QVERIFY(w.List().selectionModel()->isRowSelected(4, {}));
        QCOMPARE(w.Frame().MessagePane()->text(), "3 satellites, 5 transponders, 9 programs");

        for (int step = 0; step < 3; ++step) {
            QTest::keyClick(&w.List(), Qt::Key_Z, Qt::ControlModifier);
        }
        QCOMPARE(ids(base.Sats()), (QList<int>{0, 1}));
        QCOMPARE(ids(base.Tps()), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(ids(base.Progs()), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7}));
        QCOMPARE(w.Frame().MessagePane()->text(), "2 satellites, 4 transponders, 8 programs");
        QVERIFY(w.ui.messages.empty());
    }

    void sortFromTheMenu()
    {
        Window w;
        w.OpenDbWith(4);
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        w.List().setCurrentIndex(w.List().Model().index(0, 0)); // the ProgID column is preselected
        QString preselected;
        w.ui.QueueDialog([&preselected](QDialog& dialog) {
            preselected = dialog.findChild<QComboBox*>("columnChooser")->currentText();
            dialog.findChild<QRadioButton*>("descendingButton")->setChecked(true);
            return int(QDialog::Accepted);
        });
        QVERIFY(w.Action(CommandId::SortRows)->isEnabled());
        w.Action(CommandId::SortRows)->trigger();
        QCOMPARE(w.ui.dialogTitles, QStringList{"Sort"});
        QCOMPARE(preselected, "ProgID");
        QList<int> order;
        for (const CProgNode& prog : w.Frame().Database()->Progs()) {
            order << prog.Id();
        }
        QCOMPARE(order, (QList<int>{3, 2, 1, 0}));
        QCOMPARE(w.List().Model().RowIds(), (std::vector<std::int32_t>{3, 2, 1, 0}));
        QCOMPARE(w.Action(CommandId::Undo)->text(), "&Undo Sort Programs");

        w.Action(CommandId::SortRows)->trigger(); // cancelled: nothing changes
        QCOMPARE(w.List().Model().RowIds(), (std::vector<std::int32_t>{3, 2, 1, 0}));
    }

    void selectDuplicatesAndDeleteThem()
    {
        Window w;
        QVERIFY(w.Activate());
        auto db = MakeDatabase(1, 1, 4);
        for (CProgNode& prog : db->Progs()) {
            if (prog.Id() >= 2) {
                prog.SetServiceId(100); // the service of program 0, again
            }
        }
        w.ui.QueueFile(QString::fromStdString(w.dir.Write("dup.db", DbFileBytes(*db))));
        w.Action(CommandId::OpenDb)->trigger();
        w.Tree().setCurrentItem(w.Tree().topLevelItem(1)); // the satellites: the programs are shown for it
        w.Action(CommandId::SelectDuplicates)->trigger();
        QCOMPARE(w.List().Kind(), ListKind::Programs);
        QCOMPARE(w.Frame().MessagePane()->text(), "Selected 2 duplicate programs");
        QList<int> selected;
        for (const QModelIndex& row : w.List().selectionModel()->selectedRows()) {
            selected << w.List().Model().IdAt(row.row());
        }
        std::sort(selected.begin(), selected.end());
        QCOMPARE(selected, (QList<int>{2, 3}));
        QTest::keyClick(&w.List(), Qt::Key_Delete);
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 2);
        QCOMPARE(w.Action(CommandId::Undo)->text(), "&Undo Delete 2 Programs");
    }

    void orderLikeAReference()
    {
        Window w;
        w.OpenDbWith(4);
        const std::unique_ptr<CProgDb> reference = MakeDatabase(1, 1, 4);
        for (int id = 1; id < 4; ++id) {
            (void)reference->Progs().Move(id, id - 1); // before the one that is first now
        }
        w.ui.QueueFile(QString::fromStdString(w.dir.Write("reference.db", DbFileBytes(*reference))));
        QVERIFY(w.Action(CommandId::OrderLike)->isEnabled());
        w.Action(CommandId::OrderLike)->trigger();
        QList<int> order;
        for (const CProgNode& prog : w.Frame().Database()->Progs()) {
            order << prog.Id();
        }
        QCOMPARE(order, (QList<int>{3, 2, 1, 0}));
        QCOMPARE(w.Frame().MessagePane()->text(), "Matched 4 of 4 programs");
        QCOMPARE(w.Action(CommandId::Undo)->text(), "&Undo Order Like Reference");
        QVERIFY(w.ui.messages.empty());
    }

    void openingAFileStartsANewHistory()
    {
        Window w;
        w.OpenDbWith(3);
        w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
        w.List().selectionModel()->select(w.List().Model().index(0, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        w.List().DeleteSelected();
        QVERIFY(w.Action(CommandId::Undo)->isEnabled());
        w.OpenDbWith(4);
        QVERIFY(!w.Action(CommandId::Undo)->isEnabled());
        QVERIFY(!w.Action(CommandId::Redo)->isEnabled());
        QCOMPARE(w.Action(CommandId::Undo)->text(), "&Undo");
    }

    void editCellFromTheMenuAndF2()
    {
        for (const bool byKey : {true, false}) {
            Window w;
            QVERIFY(w.Activate());
            w.OpenDbWith(3);
            w.Tree().setCurrentItem(w.Tree().topLevelItem(0));
            w.List().setFocus();
            w.List().selectionModel()->clearSelection(); // the first row comes selected
            QVERIFY(!w.Action(CommandId::EditCell)->isEnabled()); // no row selected
            w.List().setCurrentIndex(w.List().Model().index(1, 1)); // the transponder id: read-only
            QVERIFY(w.Action(CommandId::EditCell)->isEnabled());
            if (byKey) {
                QTest::keyClick(&w.List(), Qt::Key_F2);
            } else {
                w.Action(CommandId::EditCell)->trigger();
            }
            QVERIFY(w.List().viewport()->findChild<QLineEdit*>() == nullptr);
            w.List().setCurrentIndex(w.List().Model().index(1, 9));
            w.List().scrollTo(w.List().currentIndex());
            w.List().setFocus();
            QVERIFY(w.Action(CommandId::EditCell)->isEnabled());
            if (byKey) {
                QTest::keyClick(&w.List(), Qt::Key_F2);
            } else {
                w.Action(CommandId::EditCell)->trigger();
            }
            QLineEdit* edit = nullptr;
            QTRY_VERIFY((edit = w.List().viewport()->findChild<QLineEdit*>("cellNumber")) != nullptr);
            edit->setText("4321");
            QTest::keyClick(edit, Qt::Key_Return);
            QCoreApplication::processEvents(); // the editor commits its value from the event loop
            QCOMPARE(w.List().Model().index(1, 9).data().toString(), "4321");
            QCOMPARE(w.Action(CommandId::Undo)->text(), "&Undo Edit ServiceId");
            QCOMPARE(w.Frame().ModifiedPane()->text(), "Modified");
        }
    }
};

} // namespace editor

QTEST_MAIN(editor::MainFrameTest)
#include "MainFrameTest.moc"
