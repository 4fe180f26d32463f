// The real message boxes, questions, file dialogs and cursors behind UiServices, driven with timers.
#include "ui/QtUiServices.h"
#include "support/TempDir.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <functional>

using testsupport::TempDir;

namespace ui {

namespace {
constexpr const char* kProgramDbFilter = "Program Db File(*.db)|*.db|All Files (*.*)|*.*||";
constexpr const char* kExcelFilter = "Excel File(*.xls)|*.xls|All Files (*.*)|*.*||";

// Runs check on the modal widget once it is up (the call that opens it blocks until it closes).
void WhenModal(std::function<void(QWidget&)> check)
{
    QTimer::singleShot(0, [check = std::move(check)] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        check(*QApplication::activeModalWidget());
    });
}
} // namespace

class QtUiServicesTest : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxShowsTextCaptionAndIcon_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("qtIcon");
        QTest::addRow("error") << int(MessageIcon::Error) << int(QMessageBox::Critical);
        QTest::addRow("warning") << int(MessageIcon::Warning) << int(QMessageBox::Warning);
        QTest::addRow("information") << int(MessageIcon::Information) << int(QMessageBox::Information);
    }
    void messageBoxShowsTextCaptionAndIcon()
    {
        QFETCH(int, icon);
        QFETCH(int, qtIcon);
        QtUiServices services;
        bool seen = false;
        WhenModal([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            QVERIFY(box != nullptr);
            QCOMPARE(box->text(), "No data to save!");
            QCOMPARE(box->windowTitle(), "Empty");
            QCOMPARE(int(box->icon()), qtIcon);
            QCOMPARE(box->buttons().size(), 1);
            seen = true;
            box->button(QMessageBox::Ok)->click();
        });
        services.ShowMessage(nullptr, "No data to save!", "Empty", static_cast<MessageIcon>(icon));
        QVERIFY(seen);
    }

    void messageTextIsPlainWithLineFeeds()
    {
        QtUiServices services;
        WhenModal([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            QVERIFY(box != nullptr);
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->text(), "Cannot read <b>ch.db</b>\nagain");
            box->button(QMessageBox::Ok)->click();
        });
        services.ShowMessage(nullptr, "Cannot read <b>ch.db</b>\r\nagain", "Error", MessageIcon::Error);
    }

    void questionOffersItsButtonsAndReturnsTheOneClicked_data()
    {
        QTest::addColumn<bool>("withCancel");
        QTest::addColumn<int>("click"); // a QMessageBox::StandardButton, or 0 for Escape
        QTest::addColumn<int>("answer");
        QTest::addRow("yes") << false << int(QMessageBox::Yes) << int(Answer::Yes);
        QTest::addRow("no") << true << int(QMessageBox::No) << int(Answer::No);
        QTest::addRow("cancel") << true << int(QMessageBox::Cancel) << int(Answer::Cancel);
        QTest::addRow("escape without cancel is no") << false << 0 << int(Answer::No);
        QTest::addRow("escape with cancel is cancel") << true << 0 << int(Answer::Cancel);
    }
    void questionOffersItsButtonsAndReturnsTheOneClicked()
    {
        QFETCH(bool, withCancel);
        QFETCH(int, click);
        QFETCH(int, answer);
        QtUiServices services;
        WhenModal([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            QVERIFY(box != nullptr);
            QCOMPARE(box->text(), "Are you sure to save your changes?");
            QCOMPARE(box->windowTitle(), "Information");
            QCOMPARE(box->buttons().size(), withCancel ? 3 : 2);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
            if (click == 0) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                box->button(static_cast<QMessageBox::StandardButton>(click))->click();
            }
        });
        const Answer got = services.Ask(nullptr, "Are you sure to save your changes?", "Information", withCancel);
        QCOMPARE(int(got), answer);
    }

    void openDialogUsesTheFilterAndNeedsAnExistingFile()
    {
        TempDir dir;
        const QString path = QString::fromStdString(dir.Write("ch.db", "x"));
        QtUiServices services;
        WhenModal([&](QWidget& modal) {
            auto* dialog = qobject_cast<QFileDialog*>(&modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
            QCOMPARE(dialog->nameFilters(), (QStringList{"Program Db File(*.db) (*.db)", "All Files (*.*) (*)"}));
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
        });
        FileDialogRequest request;
        request.filter = kProgramDbFilter;
        request.mustExist = true;
        QCOMPARE(services.AskFileName(nullptr, request), std::optional<QString>(path));
    }

    void saveDialogProposesTheNameAndNeverAsksToOverwrite()
    {
        TempDir dir;
        QtUiServices services;
        WhenModal([&](QWidget& modal) {
            auto* dialog = qobject_cast<QFileDialog*>(&modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->defaultSuffix(), "xls");
            QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            QCOMPARE(dialog->findChild<QLineEdit*>("fileNameEdit")->text(), "DefaultDb.xls");
            dialog->reject();
        });
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode::Save;
        request.filter = kExcelFilter;
        request.defaultExtension = "xls";
        request.initialName = "DefaultDb.xls";
        QCOMPARE(services.AskFileName(nullptr, request), std::nullopt);
    }

    void saveDialogAsksBeforeReplacingWhenTold()
    {
        QtUiServices services;
        bool confirms = false;
        QFileDialog::FileMode mode = QFileDialog::ExistingFile;
        QStringList filters;
        WhenModal([&](QWidget& modal) {
            auto* dialog = qobject_cast<QFileDialog*>(&modal);
            QVERIFY(dialog != nullptr);
            confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            mode = dialog->fileMode();
            filters = dialog->nameFilters();
            dialog->reject();
        });
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode::Save;
        request.filter = "*.bin;*.dat|*.bin;*.dat|(All File) *.* | *.*||";
        request.confirmOverwrite = true;
        QCOMPARE(services.AskFileName(nullptr, request), std::nullopt);
        QVERIFY(confirms);
        QCOMPARE(mode, QFileDialog::AnyFile);
        // The dialog shows descriptions with their blanks simplified.
        QCOMPARE(filters, (QStringList{"*.bin;*.dat (*.bin *.dat)", "(All File) *.* (*)"}));
    }

    void dialogsShowTheArrowUnderTheWaitCursor()
    {
        QtUiServices services;
        services.SetBusy(true);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QDialog dialog;
        Qt::CursorShape during = Qt::WaitCursor;
        WhenModal([&](QWidget& modal) {
            during = QApplication::overrideCursor()->shape();
            qobject_cast<QDialog*>(&modal)->accept();
        });
        QCOMPARE(services.ExecDialog(dialog), int(QDialog::Accepted));
        QCOMPARE(during, Qt::ArrowCursor);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        services.SetBusy(false);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

} // namespace ui

QTEST_MAIN(ui::QtUiServicesTest)
#include "QtUiServicesTest.moc"
