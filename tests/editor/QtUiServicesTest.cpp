// The real message boxes, file dialogs and cursors behind IUiServices, driven with timers.
#include "editor/QtUiServices.h"
#include "formats/FileFormats.h"
#include "support/TempDir.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <functional>

using core::kExcelFilter;
using core::kProgramDbFilter;
using core::UiIcon;

using testsupport::TempDir;

namespace editor {

namespace {
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
        QTest::addRow("error") << int(UiIcon::Error) << int(QMessageBox::Critical);
        QTest::addRow("warning") << int(UiIcon::Warning) << int(QMessageBox::Warning);
        QTest::addRow("information") << int(UiIcon::Information) << int(QMessageBox::Information);
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
        services.ShowMessage(nullptr, "No data to save!", "Empty", static_cast<UiIcon>(icon));
        QVERIFY(seen);
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

} // namespace editor

QTEST_MAIN(editor::QtUiServicesTest)
#include "QtUiServicesTest.moc"
