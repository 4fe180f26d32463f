// Find: the toolbar field narrows the list to the names containing its text, ignoring case and
// read through the internal code page, together with any filter; the status bar counts the rows
// shown; Show All and a second click on the chosen tree item bring every row back. Edits made
// while the list is narrowed reach the nodes of the rows shown.
#include "FrameHarness.h"
#include "ListRows.h"
#include "TestDatabase.h"
#include "common/CodePage.h"
#include "db/CProgDb.h"
#include "edit/CEditHistory.h"
#include "editor/CMainFrame.h"
#include "editor/CommandIds.h"
#include "editor/FindCommands.h"
#include "editor/models/ProgListModel.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/CProgListView.h"
#include "editor/views/FindField.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using testsupport::ClickButton;

using core::CProgDb;
using core::CProgNode;
using core::ScopedCodePage;

namespace editor {

using ByteList = QList<QByteArray>;

namespace {
// One satellite, one transponder and a program per name (name bytes as the receiver keeps them).
std::unique_ptr<CProgDb> ProgramsNamed(const ByteList& names)
{
    auto db = MakeDatabase(1, 1, static_cast<int>(names.size()));
    int id = 0;
    for (const QByteArray& name : names) {
        db->Progs().Find(id++)->SetProgName(name.toStdString());
    }
    return db;
}

void QueueFilter(testsupport::FakeUiServices& ui, const QString& header, const QString& value)
{
    ui.QueueDialog([header, value](QDialog& dialog) {
        auto* chooser = dialog.findChild<QComboBox*>("columnChooser");
        chooser->setCurrentIndex(chooser->findText(header));
        dialog.findChild<QLineEdit*>("valueEdit")->setText(value);
        ClickButton(dialog, "addButton");
        ClickButton(dialog, "okButton");
        return dialog.result();
    });
}

// Types text into the find field one key at a time, as the user does.
void Type(FindField& field, const QString& text)
{
    field.setFocus();
    QTest::keyClicks(&field, text);
}
} // namespace

class FindTest : public QObject
{
    Q_OBJECT

private slots:
    void findIgnoresCaseInTheCodePage_data()
    {
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<ByteList>("names");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("found");
        const ByteList latin{"NILESAT 7W", "Nilesat 7W HD", "Astra 19.2E", "nilesat 201"};
        QTest::addRow("latin, typed in lower case") << "1252" << latin << "nilesat 7w" << QList<int>{0, 1};
        QTest::addRow("latin, typed in upper case") << "1252" << latin << "ASTRA" << QList<int>{2};
        QTest::addRow("latin, a piece inside") << "1252" << latin << "sat" << QList<int>{0, 1, 3};
        QTest::addRow("latin, nothing") << "1252" << latin << "hotbird" << QList<int>{};
        QTest::addRow("latin, empty text") << "1252" << latin << "" << QList<int>{0, 1, 2, 3};
        // "НИЛСАТ 7W", "Россия 1", "Nilesat" in code page 1251.
        const ByteList cyrillic{"\xcd\xc8\xcb\xd1\xc0\xd2 7W", "\xd0\xee\xf1\xf1\xe8\xff 1", "Nilesat"};
        QTest::addRow("1251, lower case finds upper")
            << "1251" << cyrillic << QString::fromUtf8("нилсат") << QList<int>{0};
        QTest::addRow("1251, upper case finds lower")
            << "1251" << cyrillic << QString::fromUtf8("РОССИЯ") << QList<int>{1};
        // "凤凰卫视", "卫视中文台", "CCTV-4" in code page 936.
        const ByteList chinese{
            "\xb7\xef\xbb\xcb\xce\xc0\xca\xd3", "\xce\xc0\xca\xd3\xd6\xd0\xce\xc4\xcc\xa8", "CCTV-4"};
        QTest::addRow("936, a word in two names") << "936" << chinese << QString::fromUtf8("卫视") << QList<int>{0, 1};
        QTest::addRow("936, latin letters among them") << "936" << chinese << "cctv" << QList<int>{2};
        // The same bytes read in another code page are other letters: "卫视" is no longer there.
        QTest::addRow("936 bytes read as 1252") << "1252" << chinese << QString::fromUtf8("卫视") << QList<int>{};
    }
    void findIgnoresCaseInTheCodePage()
    {
        QFETCH(QString, codePage);
        QFETCH(ByteList, names);
        QFETCH(QString, text);
        QFETCH(QList<int>, found);
        const ScopedCodePage page(codePage.toStdString());
        QVERIFY(page.Installed());
        auto db = ProgramsNamed(names);
        ProgListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.AttachDatabase(db.get());
        model.ShowItems(ListKind::Programs, core::InvalidId);
        model.SetFindText(text);
        QCOMPARE(RowIdList(model), found);
        QCOMPARE(model.TotalRows(), names.size());
        QCOMPARE(model.IsNarrowed(), !text.isEmpty());
        // The text stays in force for the next list chosen.
        model.ShowItems(ListKind::Programs, 0);
        QCOMPARE(RowIdList(model), found);
    }

    void satellitesByNameTranspondersByTheirTreeText()
    {
        auto db = MakeDatabase(3, 2, 1); // "Sat0".."Sat2"; transponders 0..5, frequency 10000 + id; "Prog0".."Prog5"
        db->Sats().Find(1)->SetName("HOTBIRD 13E");
        ProgListModel model;
        model.AttachDatabase(db.get());
        model.ShowItems(ListKind::Satellites, core::InvalidId);
        model.SetFindText("hotbird");
        QCOMPARE(RowIdList(model), QList<int>{1});
        // Ids are unique per kind only: program 1 is not satellite 1.
        model.ShowItems(ListKind::Programs, core::InvalidId);
        QCOMPARE(RowIdList(model), QList<int>{});
        model.ShowItems(ListKind::Transponders, core::InvalidId);
        model.SetFindText("10004");
        QCOMPARE(RowIdList(model), QList<int>{4});
        model.SetFindText("-27500");
        QCOMPARE(RowIdList(model), (QList<int>{0, 1, 2, 3, 4, 5}));
    }

    void findAndFilterTogetherAndTheCount()
    {
        FrameHarness h;
        auto db = MakeDatabase(1, 1, 30); // "Prog0".."Prog29", service id 100 + id
        h.Open(*db);
        h.Choose(h.AllProgItem());
        FindField& field = *h.Frame().Find()->Field();
        QLabel& shown = *h.Frame().Find()->ShownPane();
        QVERIFY(!shown.isVisible());
        QVERIFY(!h.Action(CommandId::ShowAll)->isEnabled());

        Type(field, "prog2");
        QCOMPARE(RowIdList(h.List().Model()), (QList<int>{2, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29}));
        QVERIFY(shown.isVisible());
        QCOMPARE(shown.text(), "Showing 11 of 30");
        QVERIFY(h.Action(CommandId::ShowAll)->isEnabled());

        // The filter narrows what the find left, and the find text keeps applying after it.
        QueueFilter(h.ui, "ServiceId", "125");
        h.List().Filter();
        QCOMPARE(RowIdList(h.List().Model()), QList<int>{25});
        QCOMPARE(shown.text(), "Showing 1 of 30");
        field.clear();
        QCOMPARE(RowIdList(h.List().Model()), QList<int>{25}); // the filter is still in force
        QCOMPARE(shown.text(), "Showing 1 of 30");

        Type(field, "PROG");
        h.Action(CommandId::ShowAll)->trigger();
        QCOMPARE(h.List().RowCount(), 30);
        QCOMPARE(field.text(), "");
        QVERIFY(!shown.isVisible());
        QVERIFY(!h.Action(CommandId::ShowAll)->isEnabled());
        QVERIFY(h.ui.messages.empty());
    }

    void keysOfTheField()
    {
        FrameHarness h;
        auto db = MakeDatabase(1, 1, 12);
        h.Open(*db);
        h.Choose(h.AllProgItem());
        QVERIFY(QTest::qWaitForWindowExposed(&h.Frame()));
        h.List().setFocus();
        FindField& field = *h.Frame().Find()->Field();
        field.setText("Prog1");
        // Ctrl+Shift+F goes to the field with its text selected; Ctrl+F stays the filter.
        QCOMPARE(h.Action(CommandId::Find)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
        QCOMPARE(h.Action(CommandId::Filter)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
        QTest::keyClick(&h.List(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(field.hasFocus());
        QCOMPARE(field.selectedText(), "Prog1");
        QCOMPARE(h.List().RowCount(), 3); // Prog1, Prog10, Prog11
        QTest::keyClick(&field, Qt::Key_Escape);
        QCOMPARE(field.text(), "");
        QCOMPARE(h.List().RowCount(), 12);
    }

    void clickingTheChosenTreeItemAgainShowsAll()
    {
        FrameHarness h;
        auto db = MakeDatabase(2, 1, 10);
        h.Open(*db);
        QVERIFY(QTest::qWaitForWindowExposed(&h.Frame()));
        h.SatRootItem()->setExpanded(true);
        h.SatItem(0)->setExpanded(true);
        h.Click(h.TpItem(0, 0));
        QCOMPARE(h.List().RowCount(), 10);
        FindField& field = *h.Frame().Find()->Field();
        Type(field, "prog1");
        QCOMPARE(RowIdList(h.List().Model()), QList<int>{1});
        // Another item: its list, still narrowed by the find text.
        h.Click(h.AllProgItem());
        QCOMPARE(RowIdList(h.List().Model()), (QList<int>{1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
        QCOMPARE(field.text(), "prog1");
        // The same item again: everything, the field emptied.
        h.Click(h.AllProgItem());
        QCOMPARE(h.List().RowCount(), 20);
        QCOMPARE(field.text(), "");
        QVERIFY(!h.Frame().Find()->ShownPane()->isVisible());
    }

    void editsWithFindActiveReachTheShownNodes()
    {
        FrameHarness h;
        auto db = ProgramsNamed({"alpha", "Beta one", "gamma", "BETA two", "delta", "beta three"});
        h.Open(*db);
        h.Choose(h.AllProgItem());
        Type(*h.Frame().Find()->Field(), "beta");
        CProgListView& list = h.List();
        ProgListModel& model = list.Model();
        QCOMPARE(RowIdList(model), (QList<int>{1, 3, 5}));
        const CProgDb& open = *h.Frame().Database();
        const auto order = [&open] {
            QList<int> ids;
            for (const CProgNode& prog : open.Progs()) {
                ids << prog.Id();
            }
            return ids;
        };

        // A cell edit on row 1 changes node 3.
        QVERIFY(model.EditCell(model.index(1, 9), 777u));
        QCOMPARE(open.Progs().Find(3)->ServiceId(), 777u);
        QCOMPARE(open.Progs().Find(1)->ServiceId(), 101u);

        // Moving row 2 up puts node 5 before node 3 in the whole list.
        list.selectionModel()->clearSelection();
        list.selectionModel()->select(model.index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        list.MoveSelectedUp();
        QCOMPARE(order(), (QList<int>{0, 1, 2, 5, 3, 4}));
        QCOMPARE(RowIdList(model), (QList<int>{1, 5, 3}));

        // A drag of row 2 onto row 0 puts node 3 before node 1.
        list.selectionModel()->clearSelection();
        list.selectionModel()->select(model.index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        list.BeginDrag(2);
        list.DragMoveTo(list.visualRect(model.index(0, 0)).center());
        list.EndDrag();
        QCOMPARE(order(), (QList<int>{0, 3, 1, 2, 5, 4}));
        QCOMPARE(RowIdList(model), (QList<int>{3, 1, 5}));
        QCOMPARE(SelectedRows(list), QList<int>{0});

        // Delete on row 1 removes node 1 and nothing else; undo brings it back into the found rows.
        list.selectionModel()->clearSelection();
        list.selectionModel()->select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        list.DeleteSelected();
        QCOMPARE(order(), (QList<int>{0, 3, 2, 5, 4}));
        QCOMPARE(RowIdList(model), (QList<int>{3, 5}));
        QCOMPARE(h.Frame().Find()->ShownPane()->text(), "Showing 2 of 5");
        h.Action(CommandId::Undo)->trigger();
        QCOMPARE(order(), (QList<int>{0, 3, 1, 2, 5, 4}));
        QCOMPARE(RowIdList(model), (QList<int>{3, 1, 5}));

        // A renamed node leaves the rows when its new name lacks the text, and comes back with it.
        QVERIFY(model.EditCell(model.index(0, 2), QByteArray("Epsilon")));
        QCOMPARE(open.Progs().Find(3)->ProgName(), "Epsilon");
        model.Refresh();
        QCOMPARE(RowIdList(model), (QList<int>{1, 5}));
        h.Action(CommandId::Undo)->trigger();
        model.Refresh();
        QCOMPARE(RowIdList(model), (QList<int>{3, 1, 5}));
        QVERIFY(h.ui.messages.empty());
    }
};

} // namespace editor

QTEST_MAIN(editor::FindTest)
#include "FindTest.moc"
