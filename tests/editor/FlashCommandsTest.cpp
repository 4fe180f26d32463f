// The flash-image commands (open user databases, merge into an image) and the spreadsheet
// commands with their side copy, from the window.
#include "FrameHarness.h"
#include "TestDatabase.h"
#include "access/CAccessDbIn.h"
#include "access/CAccessOut.h"
#include "common/PendingError.h"
#include "editor/CMainFrame.h"
#include "editor/CTessaroApp.h"
#include "editor/CommandIds.h"
#include "editor/EditorSettings.h"
#include "editor/RecentFilesMenu.h"
#include "editor/SideCopyMonitor.h"
#include "editor/views/CProgBrowseView.h"
#include "formats/FileFormats.h"
#include "support/FakeUiServices.h"
#include "support/TempDir.h"

#include "access/CAccessDftDbOut.h"
#include "access/CAccessUserDb25In.h"
#include "access/CAccessUserDbIn.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QtTest>

using ui::FileDialogRequest;
using ui::MessageIcon;

using testsupport::ClickButton;
using testsupport::FakeUiServices;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

using core::CAccessDbIn;
using core::CAccessDftDbOut;
using core::CAccessOut;
using core::CAccessUserDb25In;
using core::CAccessUserDbIn;
using core::ClearPendingError;
using core::CProgDb;
using core::kBinaryFilter;
using core::kExcelFilter;
using core::PendingError;
using core::PendingErrorOrUnknown;
using core::PendingErrorState;

namespace editor {

namespace {
// The main window with the helpers of these commands' tests.
struct Window : FrameHarness
{
    void Trigger(int id) const { Action(id)->trigger(); }
    void OpenDbWith(int programs)
    {
        auto db = MakeDatabase(1, 1, programs);
        ui.QueueFile(QString::fromStdString(dir.Write("loaded.db", DbFileBytes(*db))));
        Trigger(CommandId::OpenDb);
        ui.messages.clear();
        ui.fileRequests.clear();
    }
};

// A user database of one program table with `records` 48-byte records, as it lies in an image.
std::string UserDbArea(int records)
{
    std::string area;
    const auto word = [&area](std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            area.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    };
    const auto count = static_cast<std::uint32_t>(records);
    word(0xAABBCCDD), word(20), word(0), word(0), word(0); // root header
    word(0xAABBCCDD), word(0xFFFFFFFF), word(3), word(0xFFFF0000 | count), word(48); // a table in use
    const std::uint32_t first = 40 + 4 * (count + 1);
    for (std::uint32_t i = 0; i < count; ++i) {
        word(first + 48 * i); // the offset table
    }
    word(0xDDCCBBAA);
    for (int i = 0; i < records; ++i) {
        area += std::string(48, static_cast<char>(i + 1));
    }
    return area;
}

// An exporter that fails without a reason of its own.
class SilentExporter final : public CAccessOut
{
public:
    bool Export(const std::string&, CProgDb&) override { return false; }
};

} // namespace

class FlashCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void spreadsheetCommandsAreEnabled()
    {
        Window w;
        QVERIFY(w.Frame().Action(CommandId::OpenExcel)->isEnabled());
        QVERIFY(w.Frame().Action(CommandId::SaveAsExcel)->isEnabled());
    }

    void mergeWithNothingToMerge()
    {
        Window w;
        w.Trigger(CommandId::MergeDefaultDb);
        w.ExpectMessage("No data to merge!", "Empty", MessageIcon::Error);
        QVERIFY(w.ui.fileRequests.empty());
    }

    void mergeCancelledChangesNothing()
    {
        Window w;
        w.OpenDbWith(2);
        const std::string image = w.dir.Write("image.bin", std::string(64, '\xff'));
        w.ui.QueueCancel();
        w.Trigger(CommandId::MergeDefaultDb);
        QVERIFY(w.ui.messages.empty());
        QCOMPARE(w.ui.fileRequests.size(), std::size_t(1));
        const FileDialogRequest& request = w.ui.fileRequests[0];
        QCOMPARE(request.mode, FileDialogRequest::Mode::Save);
        QCOMPARE(QString::fromStdString(request.filter), "Binary File(*.bin)|*.bin|All Files (*.*)|*.*||");
        QVERIFY(request.mustExist);
        QVERIFY(request.initialName.empty());
        QVERIFY(request.defaultExtension.empty());
        QCOMPARE(ReadFileBytes(image), std::vector<std::uint8_t>(64, 0xff));
    }

    void mergeReportsTheExportersOutcome()
    {
        Window w;
        w.OpenDbWith(2);
        w.ui.busyCount = 0;
        const std::string bytes(4096, '\xff');
        const std::string image = w.dir.Write("image.bin", bytes);
        // What the exporter itself makes of the same image, run directly on a copy.
        const std::string copy = w.dir.Write("copy.bin", bytes);
        ClearPendingError();
        const bool merged = CAccessDftDbOut().Export(copy, *w.Frame().Database());
        const QString reason = QString::fromStdString(PendingErrorOrUnknown());
        ClearPendingError();

        w.ui.QueueFile(QString::fromStdString(image));
        w.Trigger(CommandId::MergeDefaultDb);
        if (merged) {
            w.ExpectMessage("Merge default program finished!", "Finish", MessageIcon::Information);
        } else {
            w.ExpectMessage(reason, "Merge Error", MessageIcon::Error);
        }
        QVERIFY(!PendingError().pending);
        QCOMPARE(w.ui.busyCount, 0); // the merge shows no wait cursor
    }

    void mergeWritesTheDatabaseIntoTheImage()
    {
        Window w;
        w.OpenDbWith(2);
        // An image: loader bytes, an older and larger default database, erased flash, then more code.
        auto older = MakeDatabase(2, 2, 10);
        const std::string head(256, '\x11');
        const std::string tail(256, '\x22');
        const std::string image
            = w.dir.Write("image.bin", head + DbFileBytes(*older) + std::string(8192, '\xff') + tail);
        const std::vector<std::uint8_t> original = ReadFileBytes(image);
        const std::size_t size = original.size();
        const QString finished = "Merge default program finished!\nThe image before the first merge is kept in "
            + QString::fromStdString(image) + ".bak.";

        w.ui.QueueFile(QString::fromStdString(image));
        w.Trigger(CommandId::MergeDefaultDb);
        w.ExpectMessage(finished, "Finish", MessageIcon::Information);
        QCOMPARE(ReadFileBytes(image + ".bak"), original);
        // A second merge says where the backup is and leaves it as it was.
        w.ui.messages.clear();
        w.ui.QueueFile(QString::fromStdString(image));
        w.Trigger(CommandId::MergeDefaultDb);
        w.ExpectMessage(finished, "Finish", MessageIcon::Information);
        QCOMPARE(ReadFileBytes(image + ".bak"), original);

        const std::vector<std::uint8_t> merged = ReadFileBytes(image);
        QCOMPARE(merged.size(), size);
        QVERIFY(std::equal(head.begin(), head.end(), merged.begin()));
        QVERIFY(std::equal(tail.rbegin(), tail.rend(), merged.rbegin()));
        const std::string written = DbFileBytes(*w.Frame().Database());
        const std::vector<std::uint8_t> area(merged.begin() + 256, merged.begin() + 256 + written.size());
        CProgDb back;
        QVERIFY(CAccessDbIn().ImportBytes(area, back));
        QCOMPARE(int(back.Progs().Count()), 2);
    }

    void flashImportsAskForTheAddress_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("entry"); // -1: the address dialog is cancelled
        QTest::addRow("user db, 0x110000") << CommandId::OpenUserDb << 1;
        QTest::addRow("user db, Auto") << CommandId::OpenUserDb << 0;
        QTest::addRow("user db 2.5, 0x120000") << CommandId::OpenUserDb25 << 2;
        QTest::addRow("user db 2.5, cancelled") << CommandId::OpenUserDb25 << -1;
    }
    void flashImportsAskForTheAddress()
    {
        QFETCH(int, command);
        QFETCH(int, entry);
        Window w;
        const std::string image = w.dir.Write("flash.bin", std::string(8192, '\xff'));
        const auto answer = [entry](QDialog& dialog) {
            if (entry >= 0) {
                dialog.findChild<QComboBox*>("addressBox")->setCurrentIndex(entry);
            }
            ClickButton(dialog, entry >= 0 ? "okButton" : "cancelButton");
            return dialog.result();
        };
        // The same read run directly, from an empty slot.
        ClearPendingError();
        w.ui.QueueDialog(answer);
        CProgDb direct;
        const bool imported = command == CommandId::OpenUserDb ? CAccessUserDbIn().Import(image, direct)
                                                               : CAccessUserDb25In().Import(image, direct);
        const QString reason = QString::fromStdString(PendingErrorOrUnknown());
        const PendingErrorState left = PendingError(); // what a successful import leaves pending
        ClearPendingError();
        w.ui.dialogTitles.clear();

        w.ui.QueueFile(QString::fromStdString(image));
        w.ui.QueueDialog(answer);
        w.Trigger(command);
        QCOMPARE(QString::fromStdString(w.ui.fileRequests.back().filter), QString::fromLatin1(kBinaryFilter));
        QCOMPARE(w.ui.dialogTitles, QStringList{"UserDb Config"});
        if (imported) {
            QVERIFY(w.ui.messages.empty());
            QCOMPARE(PendingError().pending, left.pending);
            QCOMPARE(PendingError().text, left.text);
        } else {
            w.ExpectMessage(reason, "Load Error", MessageIcon::Error);
            QVERIFY(!PendingError().pending);
        }
    }

    // Open Recent brings a user database back at the address it was read at, without asking; the
    // image holds another database at a lower address, which Auto would find first.
    void openRecentReadsAUserDbAtItsAddress()
    {
        OpenEditorSettings()->remove("RecentFiles");
        Window w;
        const std::string image = w.dir.Write("flash.bin",
                                              std::string(0x10000, '\xff') + UserDbArea(2)
                                                  + std::string(0x10000 - 148, '\xff') + UserDbArea(1));
        w.ui.QueueFile(QString::fromStdString(image));
        w.ui.QueueDialog([](QDialog& dialog) {
            QLineEdit* field = dialog.findChild<QComboBox*>("addressBox")->lineEdit(); // typed as a user would
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClicks(field, "20000");
            ClickButton(dialog, "okButton");
            return dialog.result();
        });
        w.Trigger(CommandId::OpenUserDb);
        QVERIFY(w.ui.messages.empty());
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 1);
        QMenu* recent = w.Frame().RecentMenu()->Menu();
        QCOMPARE(recent->actions().size(), 1);
        QCOMPARE(recent->actions().at(0)->text(), QString::fromStdString("&1 " + image + " (User Db at 0x20000)"));

        w.ui.QueueFile(QString::fromStdString(image));
        w.ui.QueueDialog([](QDialog& dialog) { // Auto: the first database of the image
            ClickButton(dialog, "okButton");
            return dialog.result();
        });
        w.Trigger(CommandId::OpenUserDb);
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 2);
        QCOMPARE(recent->actions().at(0)->text(), QString::fromStdString("&1 " + image + " (User Db, Auto)"));

        // Chosen from the menu: no dialog, Auto again.
        const int dialogs = int(w.ui.dialogTitles.size());
        recent->actions().at(0)->trigger();
        QCOMPARE(int(w.ui.dialogTitles.size()), dialogs);
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 2);
        // Remembered at 0x20000, the image's second database is read.
        w.Frame().RecentMenu()->Opened(RecentFile{image, core::FormatId::UserDb, 0x20000});
        recent->actions().at(0)->trigger();
        QCOMPARE(int(w.ui.dialogTitles.size()), dialogs);
        QVERIFY(w.ui.messages.empty());
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 1);
        QVERIFY(!QFile::exists(QString::fromStdString(image + "xls"))); // a flash image gets no side copy
    }

    void damagedImageImportsWhatCanBeReadAndWarns()
    {
        Window w;
        // A user database at 0x10000 whose image ends inside its last program record.
        std::string area;
        const auto word = [&area](std::uint32_t value) {
            for (int i = 0; i < 4; ++i) {
                area.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
            }
        };
        // Root header, then one program table of two 48-byte records, the second cut short.
        word(0xAABBCCDD), word(20), word(0), word(0), word(0);
        word(0xAABBCCDD), word(0xFFFFFFFF), word(3), word(0xFFFF0002), word(48); // in use, 2 records
        word(52), word(100), word(0xDDCCBBAA); // the offset table and its end word
        area += std::string(48, '\x01') + std::string(20, '\x02');
        const std::string image = w.dir.Write("flash.bin", std::string(0x10000, '\xff') + area);

        w.ui.QueueFile(QString::fromStdString(image));
        w.ui.QueueDialog([](QDialog& dialog) {
            dialog.findChild<QComboBox*>("addressBox")->setCurrentIndex(0); // Auto
            ClickButton(dialog, "okButton");
            return dialog.result();
        });
        w.Trigger(CommandId::OpenUserDb);
        w.ExpectMessage("The image looks damaged: 0 tables and 1 records could not be read.",
                        "Damaged Image",
                        MessageIcon::Warning);
        QVERIFY(w.Frame().Database() != nullptr);
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 1);
        QVERIFY(!PendingError().pending);
    }

    void saveAsExcelWritesAWorkbook()
    {
        Window w;
        w.OpenDbWith(3);
        const QString target = QString::fromStdString(w.dir.File("out.xls"));
        w.ui.QueueFile(target);
        w.Trigger(CommandId::SaveAsExcel);
        const FileDialogRequest& request = w.ui.fileRequests[0];
        QCOMPARE(request.mode, FileDialogRequest::Mode::Save);
        QCOMPARE(QString::fromStdString(request.initialName), "DefaultDb.xls");
        QCOMPARE(QString::fromStdString(request.defaultExtension), "xls");
        QCOMPARE(QString::fromStdString(request.filter), "Excel File(*.xls)|*.xls|All Files (*.*)|*.*||");
        w.ExpectMessage("Save default program finished!", "Finish", MessageIcon::Information);

        // And it opens again.
        w.ui.messages.clear();
        w.ui.QueueFile(target);
        w.Trigger(CommandId::OpenExcel);
        QVERIFY(w.ui.messages.empty());
        QCOMPARE(int(w.Frame().Database()->Progs().Count()), 3);
        QCOMPARE(w.Frame().MessagePane()->text(), "1 satellite, 1 transponder, 3 programs");
    }

    void commandLineOpensAWorkbook()
    {
        TempDir outside;
        const QString workbook = QString::fromStdString(outside.File("start.xls"));
        {
            Window w;
            w.OpenDbWith(4);
            w.ui.QueueFile(workbook);
            w.Trigger(CommandId::SaveAsExcel);
        }
        FakeUiServices ui;
        CTessaroApp app(ui);
        QVERIFY(app.InitInstance({"corvane", workbook}));
        QVERIFY(ui.messages.empty());
        QCOMPARE(int(app.MainFrame()->Database()->Progs().Count()), 4);
        QVERIFY(!QFile::exists(workbook + "xls")); // no side copy for a file named on the command line
    }

    void openingADbFileWritesTheSideCopy()
    {
        Window w;
        auto db = MakeDatabase(1, 1, 2);
        const std::string path = w.dir.Write("ch.db", DbFileBytes(*db));
        w.ui.QueueFile(QString::fromStdString(path));
        w.Trigger(CommandId::OpenDb);
        QTRY_VERIFY_WITH_TIMEOUT(!w.Frame().SideCopies()->Busy(), 30000); // written on a worker
        QVERIFY(QFile::exists(QString::fromStdString(w.dir.File("ch.dbxls"))));
        QVERIFY(!QFile::exists(QString::fromStdString(w.dir.File("ch.db.xls"))));
        QVERIFY(w.ui.messages.empty());
        // The same bytes as the copy made in one go from the file.
        QVERIFY(w.SideCopyIsTheOneGoCopy("ch.db", DbFileBytes(*db)));
    }

    // The copy is written from what the window read: a file it could not read gets none.
    void failedImportWritesNoSideCopy()
    {
        Window w;
        auto db = MakeDatabase(1, 1, 2);
        const std::string path = w.dir.Write("ch.db", DbFileBytes(*db));
        w.ui.QueueFile(QString::fromStdString(path));
        w.Trigger(CommandId::OpenExcel); // a default-database file is no workbook
        QVERIFY(!w.Frame().SideCopies()->Busy());
        QVERIFY(!QFile::exists(QString::fromStdString(w.dir.File("ch.dbxls"))));
        QCOMPARE(w.ui.messages.size(), std::size_t(1));
        QCOMPARE(w.ui.messages.back().caption, "Load Error");
    }

    void openingASpreadsheetLeavesNothingPending()
    {
        Window w;
        w.OpenDbWith(2);
        const QString workbook = QString::fromStdString(w.dir.File("book.xls"));
        w.ui.QueueFile(workbook);
        w.Trigger(CommandId::SaveAsExcel);
        w.ui.messages.clear();

        w.ui.QueueFile(workbook);
        w.Trigger(CommandId::OpenExcel);
        QVERIFY(w.ui.messages.empty());
        QVERIFY(!QFile::exists(workbook + "xls")); // a spreadsheet gets no side copy
        // Nothing tried the workbook as a default-database file: no reason is left pending ...
        QVERIFY(!PendingError().pending);

        // ... so the next failure without a reason of its own says just that.
        SilentExporter failing;
        w.ui.QueueFile(QString::fromStdString(w.dir.File("out.xls")));
        QVERIFY(!w.Frame().ExportFile(failing, "xls", kExcelFilter));
        w.ExpectMessage("Unknown Error!", "Save Error", MessageIcon::Error);
        QVERIFY(!PendingError().pending);
    }

    void saveAsExcelWithNothingToSave()
    {
        Window w;
        w.Trigger(CommandId::SaveAsExcel);
        w.ExpectMessage("No data to save!", "Empty", MessageIcon::Error);
    }
};

} // namespace editor

QTEST_MAIN(editor::FlashCommandsTest)
#include "FlashCommandsTest.moc"
