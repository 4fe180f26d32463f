// The filter dialog: adding, refusing and removing conditions, and what OK writes.
#include "editor/dialogs/CFilterDlg.h"
#include "support/FakeUiServices.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

using ui::MessageIcon;

using testsupport::ClickButton;
using testsupport::FakeUiServices;

namespace editor {

namespace {
const QStringList kProgHeaders{
    "ProgID", "TpID", "ProgName", "VPID", "APID", "PCRPID", "Scramble", "Hide", "Track", "ServiceId"};

struct Dialog
{
    FakeUiServices ui;
    FilterSpec spec;
    CFilterDlg dialog{spec, kProgHeaders, ui};

    QTreeWidget* Conditions() { return dialog.findChild<QTreeWidget*>("conditionList"); }
    QComboBox* Chooser() { return dialog.findChild<QComboBox*>("columnChooser"); }
    QLineEdit* Value() { return dialog.findChild<QLineEdit*>("valueEdit"); }

    void Add(const QString& column, const QString& value)
    {
        Chooser()->setCurrentIndex(Chooser()->findText(column));
        Value()->setText(value);
        ClickButton(dialog, "addButton");
    }
    QStringList Row(int row)
    {
        const QTreeWidgetItem* item = Conditions()->topLevelItem(row);
        return {item->text(0), item->text(1), item->text(2)};
    }
    void DoubleClickRow(int row)
    {
        QTreeWidget* list = Conditions();
        const QRect rect = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
};
} // namespace

class FilterDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void layoutAndLabels()
    {
        Dialog d;
        QCOMPARE(d.dialog.windowTitle(), "Filter");
        d.dialog.SetCaption("");
        QCOMPARE(d.dialog.windowTitle(), "Filter");
        d.dialog.SetCaption("Prog Filter");
        QCOMPARE(d.dialog.windowTitle(), "Prog Filter");
        QTreeWidget* list = d.Conditions();
        QCOMPARE(list->headerItem()->text(0), "Item");
        QCOMPARE(list->headerItem()->text(1), "Opt");
        QCOMPARE(list->headerItem()->text(2), "Value");
        QCOMPARE(list->columnWidth(0), 100);
        QCOMPARE(list->columnWidth(1), 60);
        QCOMPARE(list->columnWidth(2), 120);
        QCOMPARE(d.Chooser()->count(), kProgHeaders.size());
        QCOMPARE(d.Chooser()->itemText(0), "ProgID");
        QCOMPARE(d.Chooser()->currentIndex(), 0);
        QVERIFY(!d.Chooser()->isEditable());
        QCOMPARE(d.dialog.findChild<QPushButton*>("addButton")->text(), "&Add");
        QCOMPARE(d.dialog.findChild<QPushButton*>("okButton")->text(), QString::fromUtf8("确定"));
        QCOMPARE(d.dialog.findChild<QPushButton*>("cancelButton")->text(), QString::fromUtf8("取消"));
    }

    void addRefusals_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addRow("empty value") << ""
                                     << "Empty input"
                                     << "Error";
        QTest::addRow("only spaces") << "   \t "
                                     << "Empty input"
                                     << "Error";
    }
    void addRefusals()
    {
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        Dialog d;
        d.Add("VPID", value);
        QCOMPARE(d.Conditions()->topLevelItemCount(), 0);
        QCOMPARE(d.ui.messages.size(), std::size_t(1));
        QCOMPARE(d.ui.messages[0].text, message);
        QCOMPARE(d.ui.messages[0].caption, caption);
        QCOMPARE(d.ui.messages[0].icon, MessageIcon::Error);
    }

    void addTrimsAndKeepsInputs()
    {
        Dialog d;
        d.Add("ServiceId", "  12 ");
        QCOMPARE(d.Conditions()->topLevelItemCount(), 1);
        QCOMPARE(d.Row(0), (QStringList{"ServiceId", "==", "12"}));
        QCOMPARE(d.Value()->text(), "  12 "); // the field keeps what was typed
        QCOMPARE(d.Chooser()->currentText(), "ServiceId");
        QVERIFY(d.ui.messages.empty());
    }

    void oneConditionPerColumn()
    {
        Dialog d;
        d.Add("ServiceId", "12");
        d.Add("ServiceId", "13");
        QCOMPARE(d.Conditions()->topLevelItemCount(), 1);
        QCOMPARE(d.ui.messages.size(), std::size_t(1));
        QCOMPARE(d.ui.messages[0].text, "Filter Item Existed!");
        QCOMPARE(d.ui.messages[0].caption, "Error");
        QCOMPARE(d.ui.messages[0].icon, MessageIcon::Error);

        d.dialog.show();
        d.DoubleClickRow(0);
        QCOMPARE(d.Conditions()->topLevelItemCount(), 0);
        d.Add("ServiceId", "13");
        QCOMPARE(d.Conditions()->topLevelItemCount(), 1);
        QCOMPARE(d.Row(0), (QStringList{"ServiceId", "==", "13"}));
    }

    void doubleClickRemovesTheMarkedRowOnly()
    {
        Dialog d;
        d.Add("VPID", "1");
        d.Add("APID", "2");
        d.Add("Hide", "0");
        d.dialog.show();
        d.DoubleClickRow(1);
        QCOMPARE(d.Conditions()->topLevelItemCount(), 2);
        QCOMPARE(d.Row(0)[0], "VPID");
        QCOMPARE(d.Row(1)[0], "Hide");
    }

    void okWritesConditionsInRowOrder()
    {
        Dialog d;
        d.spec.conditions.push_back({9, "stale"});
        d.Add("Hide", "1");
        d.Add("ProgName", " BBC One ");
        d.Add("ProgID", "0100");
        QSignalSpy finished(&d.dialog, &QDialog::finished);
        ClickButton(d.dialog, "okButton");
        QCOMPARE(finished.count(), 1);
        QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(d.spec.conditions.size(), std::size_t(3));
        QCOMPARE(d.spec.conditions[0].column, 7);
        QCOMPARE(QString::fromStdString(d.spec.conditions[0].value), "1");
        QCOMPARE(d.spec.conditions[1].column, 2);
        QCOMPARE(QString::fromStdString(d.spec.conditions[1].value), "BBC One");
        QCOMPARE(d.spec.conditions[2].column, 0);
        QCOMPARE(QString::fromStdString(d.spec.conditions[2].value), "0100");
    }

    void okWithoutConditionsStaysOpen()
    {
        Dialog d;
        d.dialog.show();
        QSignalSpy finished(&d.dialog, &QDialog::finished);
        ClickButton(d.dialog, "okButton");
        QCOMPARE(finished.count(), 0);
        QVERIFY(d.dialog.isVisible());
        QCOMPARE(d.ui.messages.size(), std::size_t(1));
        QCOMPARE(d.ui.messages[0].text, "Empty Filter!");
        QCOMPARE(d.ui.messages[0].caption, "Empty");
        QCOMPARE(d.ui.messages[0].icon, MessageIcon::Error);
    }

    void enterInValueFieldIsOkNotAdd()
    {
        Dialog d;
        d.dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d.dialog));
        d.Value()->setFocus();
        QTest::keyClicks(d.Value(), "12");
        QTest::keyClick(d.Value(), Qt::Key_Return);
        QCOMPARE(d.Conditions()->topLevelItemCount(), 0);
        QCOMPARE(d.ui.messages.size(), std::size_t(1));
        QCOMPARE(d.ui.messages[0].text, "Empty Filter!");

        d.Add("VPID", "12");
        d.Value()->setText("99"); // typed but not added: not part of the filter
        d.Value()->setFocus();
        QTest::keyClick(d.Value(), Qt::Key_Return);
        QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(d.spec.conditions.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(d.spec.conditions[0].value), "12");
    }

    void cancelLeavesSpecAlone()
    {
        Dialog d;
        d.Add("VPID", "12");
        ClickButton(d.dialog, "cancelButton");
        QCOMPARE(d.dialog.result(), int(QDialog::Rejected));
        QVERIFY(d.spec.conditions.empty());
    }
};

} // namespace editor

QTEST_MAIN(editor::FilterDlgTest)
#include "FilterDlgTest.moc"
