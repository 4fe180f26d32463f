// The address dialog and the UI hook behind AskUserDbAddress.
#include "editor/QtUiHooks.h"
#include "editor/dialogs/CUserDbAddrDlg.h"
#include "support/FakeUiServices.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using ui::MessageIcon;

using testsupport::ClickButton;
using testsupport::FakeUiServices;

using core::ScopedUiHooks;
using core::UiHooks;
using core::UiIcon;

namespace editor {

namespace {
QComboBox* AddressBox(QDialog& dialog)
{
    return dialog.findChild<QComboBox*>("addressBox");
}

// Types into the address field as a user would.
void TypeAddress(QDialog& dialog, const QString& text)
{
    QLineEdit* field = AddressBox(dialog)->lineEdit();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}
} // namespace

class UserDbAddrDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void offersAutoAndTwoAddresses()
    {
        FakeUiServices ui;
        CUserDbAddrDlg dialog(ui);
        QCOMPARE(dialog.windowTitle(), "UserDb Config");
        QComboBox* box = AddressBox(dialog);
        QVERIFY(box->isEditable());
        QCOMPARE(box->count(), 3);
        QCOMPARE(box->itemText(0), "Auto");
        QCOMPARE(box->itemText(1), "110000");
        QCOMPARE(box->itemText(2), "120000");
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(dialog.Address(), 0u);
    }

    void chosenEntry_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<uint>("address");
        QTest::addRow("Auto") << 0 << 0u;
        QTest::addRow("110000") << 1 << 0x110000u;
        QTest::addRow("120000") << 2 << 0x120000u;
    }
    void chosenEntry()
    {
        QFETCH(int, entry);
        QFETCH(uint, address);
        FakeUiServices ui;
        CUserDbAddrDlg dialog(ui);
        AddressBox(dialog)->setCurrentIndex(entry);
        ClickButton(dialog, "okButton");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Address(), address);
        QVERIFY(ui.messages.empty());
    }

    void typedAddress_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<uint>("address");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addRow("hex digits") << "1a0000" << 0x1A0000u << ""
                                    << "";
        QTest::addRow("with prefix") << "0x1a0000" << 0x1A0000u << ""
                                     << "";
        QTest::addRow("typed while Auto is selected") << "ab" << 0xABu << ""
                                                      << "";
        QTest::addRow("empty") << "" << 0u << "The address can not be empty!"
                               << "Empty Input";
        QTest::addRow("zero") << "0" << 0u << "The address can not be 0!"
                              << "Error";
        QTest::addRow("no hex digit") << "zz" << 0u << "The address can not be 0!"
                                      << "Error";
        QTest::addRow("only blanks") << "   " << 0u << "The address can not be 0!"
                                     << "Error";
    }
    void typedAddress()
    {
        QFETCH(QString, typed);
        QFETCH(uint, address);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        FakeUiServices ui;
        CUserDbAddrDlg dialog(ui);
        dialog.show();
        TypeAddress(dialog, typed);
        QSignalSpy finished(&dialog, &QDialog::finished);
        ClickButton(dialog, "okButton");
        if (message.isEmpty()) {
            QCOMPARE(finished.count(), 1);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.Address(), address);
            QVERIFY(ui.messages.empty());
        } else {
            QCOMPARE(finished.count(), 0); // stays open
            QVERIFY(dialog.isVisible());
            QCOMPARE(ui.messages.size(), std::size_t(1));
            QCOMPARE(ui.messages[0].text, message);
            QCOMPARE(ui.messages[0].caption, caption);
            QCOMPARE(ui.messages[0].icon, MessageIcon::Warning);
        }
    }

    void enterActsAsOk()
    {
        FakeUiServices ui;
        CUserDbAddrDlg dialog(ui);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        TypeAddress(dialog, "140000");
        QTest::keyClick(AddressBox(dialog)->lineEdit(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Address(), 0x140000u);
    }

    void hookAnswers_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<uint>("address");
        QTest::addRow("confirmed address") << 2 << true << 0x120000u;
        QTest::addRow("confirmed Auto") << 0 << true << 0u;
        QTest::addRow("cancelled gives the same 0 as Auto") << 1 << false << 0u;
    }
    void hookAnswers()
    {
        QFETCH(int, entry);
        QFETCH(bool, confirm);
        QFETCH(uint, address);
        FakeUiServices ui;
        QtUiHooks hooks(ui, nullptr);
        ScopedUiHooks installed(hooks);
        ui.QueueDialog([entry, confirm](QDialog& dialog) {
            AddressBox(dialog)->setCurrentIndex(entry);
            ClickButton(dialog, confirm ? "okButton" : "cancelButton");
            return dialog.result();
        });
        QCOMPARE(UiHooks().AskUserDbAddress(), address);
        QCOMPARE(ui.dialogTitles, QStringList{"UserDb Config"});
    }

    void hookShowsCoreMessagesThroughServices()
    {
        FakeUiServices ui;
        QtUiHooks hooks(ui, nullptr);
        ScopedUiHooks installed(hooks);
        UiHooks().ShowMessage("Bad row 7", "Read Error", UiIcon::Error);
        QCOMPARE(ui.messages.size(), std::size_t(1));
        QCOMPARE(ui.messages[0].text, "Bad row 7");
        QCOMPARE(ui.messages[0].caption, "Read Error");
        QCOMPARE(ui.messages[0].icon, MessageIcon::Error);
    }
};

} // namespace editor

QTEST_MAIN(editor::UserDbAddrDlgTest)
#include "UserDbAddrDlgTest.moc"
