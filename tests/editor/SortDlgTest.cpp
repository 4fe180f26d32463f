// The Sort dialog: the columns it offers, the key and direction it gives, OK and Cancel.
#include "editor/dialogs/CSortDlg.h"
#include "editor/models/ListColumns.h"
#include "support/FakeUiServices.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using testsupport::ClickButton;
using testsupport::FakeUiServices;

namespace editor {

namespace {
QStringList Headers(ListKind kind)
{
    QStringList headers;
    for (const std::string_view header : ColumnHeaders(kind)) {
        headers << QString::fromLatin1(header.data(), static_cast<qsizetype>(header.size()));
    }
    return headers;
}

QStringList Offered(const CSortDlg& dialog)
{
    const auto* chooser = dialog.findChild<QComboBox*>("columnChooser");
    QStringList offered;
    for (int i = 0; i < chooser->count(); ++i) {
        offered << chooser->itemText(i);
    }
    return offered;
}
} // namespace

class SortDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void layoutAndDefaults()
    {
        CSortDlg dialog(core::Prog, Headers(ListKind::Programs));
        QCOMPARE(dialog.windowTitle(), "Sort");
        QCOMPARE(dialog.findChild<QRadioButton*>("ascendingButton")->text(), "&Ascending");
        QCOMPARE(dialog.findChild<QRadioButton*>("descendingButton")->text(), "&Descending");
        QCOMPARE(dialog.findChild<QPushButton*>("okButton")->text(), "OK");
        QCOMPARE(dialog.findChild<QPushButton*>("cancelButton")->text(), "Cancel");
        QVERIFY(dialog.findChild<QPushButton*>("okButton")->isDefault());
        QCOMPARE(dialog.Header(), "ProgID"); // the first column
        QCOMPARE(dialog.Key(), std::string(core::kIdKey));
        QVERIFY(dialog.Order() == core::SortOrder::Ascending);
    }

    void everyColumnOfTheListsIsOffered_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addRow("satellites") << int(ListKind::Satellites);
        QTest::addRow("transponders") << int(ListKind::Transponders);
        QTest::addRow("programs") << int(ListKind::Programs);
    }
    void everyColumnOfTheListsIsOffered()
    {
        QFETCH(int, kind);
        const QStringList headers = Headers(static_cast<ListKind>(kind));
        const CSortDlg dialog(static_cast<core::NodeType>(kind), headers);
        QCOMPARE(Offered(dialog), headers);
    }

    void columnsWithoutAKeyAreLeftOut()
    {
        const CSortDlg dialog(core::Tp, {"TpID", "Bogus", "Polar", ""});
        QCOMPARE(Offered(dialog), (QStringList{"TpID", "Polar"}));
    }

    void keysOfHeaders_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("key");
        QTest::addRow("program id") << int(core::Prog) << "ProgID"
                                    << "Id";
        QTest::addRow("program's transponder") << int(core::Prog) << "TpID"
                                               << "ParentId";
        QTest::addRow("program name") << int(core::Prog) << "ProgName"
                                      << "ProgName";
        QTest::addRow("service id") << int(core::Prog) << "ServiceId"
                                    << "ServiceId";
        QTest::addRow("transponder's satellite") << int(core::Tp) << "SatID"
                                                 << "ParentId";
        QTest::addRow("polarity") << int(core::Tp) << "Polar"
                                  << "Polar";
        QTest::addRow("12V column") << int(core::Sat) << "12V"
                                    << "Switch12V";
        QTest::addRow("misspelt LNB type header") << int(core::Sat) << "LnbTpype"
                                                  << "LnbType";
    }
    void keysOfHeaders()
    {
        QFETCH(int, kind);
        QFETCH(QString, header);
        QFETCH(QString, key);
        const auto nodeKind = static_cast<core::NodeType>(kind);
        CSortDlg dialog(nodeKind, Headers(static_cast<ListKind>(kind)));
        dialog.SelectHeader(header);
        QCOMPARE(dialog.Header(), header);
        QCOMPARE(QString::fromStdString(dialog.Key()), key);
    }

    void unknownPreselectionKeepsTheChoice()
    {
        CSortDlg dialog(core::Prog, Headers(ListKind::Programs));
        dialog.SelectHeader("ServiceId");
        dialog.SelectHeader("NoSuchColumn");
        QCOMPARE(dialog.Header(), "ServiceId");
    }

    void okAndCancelThroughTheServices_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<int>("result");
        QTest::addRow("ok, ascending") << "okButton" << false << int(QDialog::Accepted);
        QTest::addRow("ok, descending") << "okButton" << true << int(QDialog::Accepted);
        QTest::addRow("cancel") << "cancelButton" << true << int(QDialog::Rejected);
    }
    void okAndCancelThroughTheServices()
    {
        QFETCH(QString, button);
        QFETCH(bool, descending);
        QFETCH(int, result);
        FakeUiServices ui;
        CSortDlg dialog(core::Prog, Headers(ListKind::Programs));
        ui.QueueDialog([button, descending](QDialog& shown) {
            auto* chooser = shown.findChild<QComboBox*>("columnChooser");
            chooser->setCurrentIndex(chooser->findText("ProgName"));
            shown.findChild<QRadioButton*>(descending ? "descendingButton" : "ascendingButton")->click();
            ClickButton(shown, qPrintable(button));
            return shown.result();
        });
        QCOMPARE(ui.ExecDialog(dialog), result);
        QCOMPARE(ui.dialogTitles, QStringList{"Sort"});
        QCOMPARE(dialog.Key(), std::string("ProgName"));
        QVERIFY(dialog.Order() == (descending ? core::SortOrder::Descending : core::SortOrder::Ascending));
    }

    void noSortableColumnOffersNothing()
    {
        const CSortDlg dialog(core::Prog, {});
        QVERIFY(Offered(dialog).isEmpty());
        QVERIFY(!dialog.findChild<QPushButton*>("okButton")->isEnabled());
        QVERIFY(dialog.Key().empty());
    }
};

} // namespace editor

QTEST_MAIN(editor::SortDlgTest)
#include "SortDlgTest.moc"
