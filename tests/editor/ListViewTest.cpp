// The program list: columns, cells, delete with dependants, drag-and-drop reordering and filter.
#include "ListRows.h"
#include "TestDatabase.h"
#include "common/CodePage.h"
#include "edit/CEditHistory.h"
#include "editor/models/ProgListModel.h"
#include "editor/views/CProgListView.h"
#include "support/FakeUiServices.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

using testsupport::ClickButton;
using testsupport::FakeUiServices;

using core::CProgDb;
using core::CProgNode;
using core::CSatNode;
using core::CTpNode;
using core::InvalidId;
using core::ScopedCodePage;

namespace editor {

using TextConditions = QList<QPair<QString, QString>>;
using ColumnConditions = QList<QPair<int, QString>>;

namespace {
struct Fixture
{
    explicit Fixture(int sats = 1, int tpsPerSat = 1, int progsPerTp = 10)
        : db(MakeDatabase(sats, tpsPerSat, progsPerTp))
    {
        view.resize(900, 600);
        view.AttachDatabase(db.get(), &history);
    }

    void Select(const QList<int>& rows)
    {
        view.selectionModel()->clearSelection();
        for (const int row : rows) {
            view.selectionModel()->select(view.Model().index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    QList<int> SelectedRows() const { return editor::SelectedRows(view); }
    QList<int> ViewIds() const { return RowIdList(const_cast<CProgListView&>(view).Model()); }
    QList<int> ProgramOrder() const
    {
        QList<int> ids;
        for (const CProgNode& prog : db->Progs()) {
            ids << prog.Id();
        }
        return ids;
    }
    QPoint RowCenter(int row) { return view.visualRect(view.Model().index(row, 0)).center(); }
    // Queues a filter dialog that adds these conditions (header, value) and confirms.
    void QueueFilter(const QList<QPair<QString, QString>>& conditions)
    {
        ui.QueueDialog([conditions](QDialog& dialog) {
            auto* chooser = dialog.findChild<QComboBox*>("columnChooser");
            auto* value = dialog.findChild<QLineEdit*>("valueEdit");
            for (const auto& [header, text] : conditions) {
                chooser->setCurrentIndex(chooser->findText(header));
                value->setText(text);
                ClickButton(dialog, "addButton");
            }
            ClickButton(dialog, "okButton");
            return dialog.result();
        });
    }

    FakeUiServices ui;
    std::unique_ptr<CProgDb> db;
    core::CEditHistory history{*db};
    CProgListView view{ui};
};

QList<int> Range(int from, int to)
{
    QList<int> out;
    for (int i = from; i <= to; ++i) {
        out << i;
    }
    return out;
}
} // namespace

class ListViewTest : public QObject
{
    Q_OBJECT

private slots:
    void columnSets_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("headers");
        QTest::addRow("satellites") << int(ListKind::Satellites)
                                    << QStringList{"SatID",
                                                   "Name",
                                                   "Longitude",
                                                   "LocalFre1",
                                                   "LocalFre2",
                                                   "12V",
                                                   "22K",
                                                   "DiSEqC",
                                                   "DiSEqC12",
                                                   "Direction",
                                                   "LnbTpype",
                                                   "DisEqC Motor",
                                                   "TunerSel"};
        QTest::addRow("transponders") << int(ListKind::Transponders)
                                      << QStringList{"TpID", "SatID", "Frequency", "SymbolRate", "Polar"};
        QTest::addRow("programs") << int(ListKind::Programs)
                                  << QStringList{"ProgID",
                                                 "TpID",
                                                 "ProgName",
                                                 "VPID",
                                                 "APID",
                                                 "PCRPID",
                                                 "Scramble",
                                                 "Hide",
                                                 "Track",
                                                 "ServiceId",
                                                 "PmtPid",
                                                 "AvType",
                                                 "Lock",
                                                 "Skip",
                                                 "FavType",
                                                 "TunerSel",
                                                 "VideoType",
                                                 "AudioType"};
    }
    void columnSets()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, headers);
        Fixture f;
        QCOMPARE(f.view.Model().columnCount(), 0); // nothing before the first ShowItems
        f.view.ShowItems(static_cast<ListKind>(kind), InvalidId);
        QCOMPARE(f.view.HeaderTexts(), headers);
        for (int column = 0; column < headers.size(); ++column) {
            QCOMPARE(f.view.columnWidth(column), 80);
        }
        QVERIFY(f.view.horizontalHeader()->defaultAlignment() & Qt::AlignLeft);
        QVERIFY(!f.view.horizontalHeader()->sectionsClickable());
        QCOMPARE(f.view.selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(f.view.selectionMode(), QAbstractItemView::ExtendedSelection);
        QVERIFY(f.view.showGrid());
    }

    void cellsRenderThePackedFields_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("cells");
        QTest::addRow("satellite")
            << int(ListKind::Satellites)
            << QStringList{"0", "Astra", "192", "9750", "10600", "1", "2", "5", "255", "1", "3", "2", "1"};
        QTest::addRow("transponder") << int(ListKind::Transponders) << QStringList{"0", "0", "11720", "27500", "1"};
        QTest::addRow("program") << int(ListKind::Programs)
                                 << QStringList{"0",
                                                "0",
                                                "Das Erste",
                                                "8191",
                                                "102",
                                                "103",
                                                "1",
                                                "0",
                                                "3",
                                                "28106",
                                                "100",
                                                "1",
                                                "0",
                                                "1",
                                                "-2147483647",
                                                "2",
                                                "7",
                                                "5"};
    }
    void cellsRenderThePackedFields()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, cells);
        CProgDb db;
        auto sat = std::make_unique<CSatNode>();
        sat->SetName("Astra");
        sat->SetLongitude(192);
        sat->SetLocalFre1(3);
        sat->SetLocalFre2(5);
        sat->SetSwitch12V(1);
        sat->SetTone22K(2);
        sat->SetDiSEqC(5);
        sat->SetDiSEqC12(255);
        sat->SetDirection(1);
        sat->SetLnbType(3);
        sat->SetDisEqCMotor(2);
        sat->SetTunerSel(1);
        db.Sats().Add(std::move(sat));
        auto tp = std::make_unique<CTpNode>(InvalidId, 0);
        tp->SetFrequency(11720);
        tp->SetSymbolRate(27500);
        tp->SetPolar(1);
        tp->SetExtraFlag(1);
        db.Tps().Add(std::move(tp));
        auto prog = std::make_unique<CProgNode>(InvalidId, 0);
        prog->SetProgName("Das Erste");
        prog->SetVPID(8191);
        prog->SetAPID(102);
        prog->SetPCRPID(103);
        prog->SetScramble(1);
        prog->SetTrack(3);
        prog->SetServiceId(28106);
        prog->SetPmtPid(100);
        prog->SetAvType(1);
        prog->SetSkip(1);
        prog->SetFavType(0x80000001u); // the whole word, read as a signed number
        prog->SetTunerSel(2);
        prog->SetVideoType(7);
        prog->SetAudioType(5);
        db.Progs().Add(std::move(prog));

        FakeUiServices ui;
        CProgListView view(ui);
        view.AttachDatabase(&db, nullptr);
        view.ShowItems(static_cast<ListKind>(kind), InvalidId);
        QCOMPARE(view.RowCount(), 1);
        QStringList shown;
        for (int column = 0; column < view.Model().columnCount(); ++column) {
            shown << view.Model().index(0, column).data().toString();
        }
        QCOMPARE(shown, cells);
        QCOMPARE(view.Model().index(0, 3).data(Qt::UserRole).toInt(), 0);
    }

    void showItemsByParent_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("id");
        QTest::addColumn<QList<int>>("ids");
        QTest::addRow("all programs") << int(ListKind::Programs) << -1 << Range(0, 11);
        QTest::addRow("programs of transponder 3") << int(ListKind::Programs) << 3 << Range(9, 11);
        QTest::addRow("programs of a missing transponder") << int(ListKind::Programs) << 40 << QList<int>{};
        QTest::addRow("all transponders") << int(ListKind::Transponders) << -1 << Range(0, 3);
        QTest::addRow("transponders of satellite 1") << int(ListKind::Transponders) << 1 << Range(2, 3);
        QTest::addRow("satellites ignore the id") << int(ListKind::Satellites) << 1 << Range(0, 1);
    }
    void showItemsByParent()
    {
        QFETCH(int, kind);
        QFETCH(int, id);
        QFETCH(QList<int>, ids);
        Fixture f(2, 2, 3);
        f.view.ShowItems(static_cast<ListKind>(kind), id);
        QCOMPARE(f.ViewIds(), ids);
        QCOMPARE(f.view.Kind(), static_cast<ListKind>(kind));
    }

    void attachEmptiesRowsAndColumns()
    {
        Fixture f;
        f.view.ShowItems(ListKind::Programs, InvalidId);
        QCOMPARE(f.view.RowCount(), 10);
        f.view.AttachDatabase(f.db.get(), &f.history);
        QCOMPARE(f.view.RowCount(), 0);
        QCOMPARE(f.view.Model().columnCount(), 0);
    }

    void deleteRemovesDependants_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("sats");
        QTest::addColumn<int>("tps");
        QTest::addColumn<int>("progs");
        QTest::addColumn<bool>("treeRebuilt");
        // 3 satellites x 2 transponders x 4 programs
        QTest::addRow("one satellite") << int(ListKind::Satellites) << QList<int>{1} << 2 << 4 << 16 << true;
        QTest::addRow("two satellites") << int(ListKind::Satellites) << QList<int>{0, 2} << 1 << 2 << 8 << true;
        QTest::addRow("one transponder") << int(ListKind::Transponders) << QList<int>{3} << 3 << 5 << 20 << true;
        QTest::addRow("one program") << int(ListKind::Programs) << QList<int>{7} << 3 << 6 << 23 << false;
        QTest::addRow("no selection") << int(ListKind::Satellites) << QList<int>{} << 3 << 6 << 24 << false;
    }
    void deleteRemovesDependants()
    {
        QFETCH(int, kind);
        QFETCH(QList<int>, rows);
        QFETCH(int, sats);
        QFETCH(int, tps);
        QFETCH(int, progs);
        QFETCH(bool, treeRebuilt);
        Fixture f(3, 2, 4);
        f.view.ShowItems(static_cast<ListKind>(kind), InvalidId);
        QSignalSpy refresh(&f.view, &CProgListView::RefreshTreeRequested);
        f.Select(rows);
        f.view.DeleteSelected();
        QCOMPARE(int(f.db->Sats().Count()), sats);
        QCOMPARE(int(f.db->Tps().Count()), tps);
        QCOMPARE(int(f.db->Progs().Count()), progs);
        QCOMPARE(refresh.count(), treeRebuilt ? 1 : 0);
        // No orphans: every transponder has its satellite, every program its transponder.
        for (const CTpNode& tp : f.db->Tps()) {
            QVERIFY(f.db->Sats().Find(tp.ParentId()) != nullptr);
        }
        for (const CProgNode& prog : f.db->Progs()) {
            QVERIFY(f.db->Tps().Find(prog.ParentId()) != nullptr);
        }
    }

    void deleteReselects_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QList<int>>("remaining");
        QTest::addColumn<QList<int>>("selected");
        QTest::addRow("row 0: nothing selected") << QList<int>{0} << Range(1, 9) << QList<int>{};
        QTest::addRow("row 3 of 10: new row 3") << QList<int>{3} << (Range(0, 2) + Range(4, 9)) << QList<int>{3};
        QTest::addRow("rows 2 and 5: row 2")
            << QList<int>{2, 5} << (QList<int>{0, 1, 3, 4} + Range(6, 9)) << QList<int>{2};
        QTest::addRow("last row: row 0") << QList<int>{9} << Range(0, 8) << QList<int>{0};
        QTest::addRow("last two rows: row 0") << QList<int>{8, 9} << Range(0, 7) << QList<int>{0};
        QTest::addRow("rows 0 and 4: nothing") << QList<int>{0, 4} << (Range(1, 3) + Range(5, 9)) << QList<int>{};
        QTest::addRow("every row") << Range(0, 9) << QList<int>{} << QList<int>{};
    }
    void deleteReselects()
    {
        QFETCH(QList<int>, rows);
        QFETCH(QList<int>, remaining);
        QFETCH(QList<int>, selected);
        Fixture f;
        f.view.ShowItems(ListKind::Programs, InvalidId);
        f.Select(rows);
        f.view.setFocus();
        QTest::keyClick(&f.view, Qt::Key_Delete);
        QCOMPARE(f.ViewIds(), remaining);
        QCOMPARE(f.ProgramOrder(), remaining);
        QCOMPARE(f.SelectedRows(), selected);
    }

    void shiftDeleteAndClipboardKeysDoNothing()
    {
        Fixture f;
        f.view.ShowItems(ListKind::Programs, InvalidId);
        f.Select({3});
        f.view.setCurrentIndex(f.view.Model().index(3, 2));
        QGuiApplication::clipboard()->setText("untouched");
        QTest::keyClick(&f.view, Qt::Key_Delete, Qt::ShiftModifier);
        QTest::keyClick(&f.view, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(&f.view, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(f.view.RowCount(), 10);
        QCOMPARE(int(f.db->Progs().Count()), 10);
        QCOMPARE(QGuiApplication::clipboard()->text(), "untouched");
    }

    void rowsOfVanishedNodesAreHarmless()
    {
        Fixture f;
        f.view.ShowItems(ListKind::Programs, InvalidId);
        f.db->Clear(); // as after a failed import: the rows stay, their nodes are gone
        QCOMPARE(f.view.Model().index(4, 0).data().toString(), "4");
        QCOMPARE(f.view.Model().index(4, 2).data().toString(), "");
        f.Select({4});
        f.view.DeleteSelected();
        QCOMPARE(f.view.RowCount(), 10);
        f.view.BeginDrag(4);
        f.view.DragMoveTo(f.RowCenter(1));
        f.view.EndDrag();
        QCOMPARE(f.ViewIds(), Range(0, 9));
        f.QueueFilter({{"Hide", "0"}});
        f.view.Filter();
        QCOMPARE(f.view.RowCount(), 0);
    }

    void dragAndDrop_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("target"); // -1: the pointer never was over a row
        QTest::addColumn<QList<int>>("order"); // the program list afterwards, and the view's ids
        QTest::addColumn<QList<int>>("selectedAfter");
        QTest::addRow("5 onto 2") << QList<int>{5} << 5 << 2 << QList<int>{0, 1, 5, 2, 3, 4, 6, 7, 8, 9}
                                  << QList<int>{2};
        QTest::addRow("2 onto 5") << QList<int>{2} << 2 << 5 << QList<int>{0, 1, 3, 4, 2, 5, 6, 7, 8, 9}
                                  << QList<int>{4};
        QTest::addRow("1 and 3 onto 6") << QList<int>{1, 3} << 3 << 6 << QList<int>{0, 2, 4, 5, 1, 3, 6, 7, 8, 9}
                                        << QList<int>{4, 5};
        QTest::addRow("7 and 8 onto 0") << QList<int>{7, 8} << 7 << 0 << QList<int>{7, 8, 0, 1, 2, 3, 4, 5, 6, 9}
                                        << QList<int>{0, 1};
        QTest::addRow("onto itself") << QList<int>{4} << 4 << 4 << Range(0, 9) << QList<int>{4};
        QTest::addRow("never over a row") << QList<int>{4} << 4 << -1 << Range(0, 9) << QList<int>{4};
        QTest::addRow("2 and 9 onto 9: before the last row")
            << QList<int>{2, 9} << 9 << 9 << QList<int>{0, 1, 3, 4, 5, 6, 7, 2, 9, 8} << QList<int>{7, 8};
        QTest::addRow("every row: nothing moves") << Range(0, 9) << 0 << 3 << Range(0, 9) << Range(0, 9);
        // -2: the pointer ends in the empty space below the last row.
        QTest::addRow("4 below the last row")
            << QList<int>{4} << 4 << -2 << QList<int>{0, 1, 2, 3, 5, 6, 7, 8, 9, 4} << QList<int>{9};
        QTest::addRow("1 and 9 below the last row")
            << QList<int>{1, 9} << 1 << -2 << QList<int>{0, 2, 3, 4, 5, 6, 7, 8, 1, 9} << QList<int>{8, 9};
        QTest::addRow("the last row below itself") << QList<int>{9} << 9 << -2 << Range(0, 9) << QList<int>{9};
        QTest::addRow("every row below the last: nothing moves")
            << Range(0, 9) << 0 << -2 << Range(0, 9) << Range(0, 9);
    }
    void dragAndDrop()
    {
        QFETCH(QList<int>, selected);
        QFETCH(int, source);
        QFETCH(int, target);
        QFETCH(QList<int>, order);
        QFETCH(QList<int>, selectedAfter);
        Fixture f;
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.view.ShowItems(ListKind::Programs, InvalidId);
        QAbstractItemModelTester tester(&f.view.Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        f.Select(selected);
        f.view.BeginDrag(source);
        QVERIFY(f.view.IsDragging());
        if (target >= 0) {
            f.view.DragMoveTo(f.RowCenter(target));
            QCOMPARE(f.view.Model().DropTarget(), target);
        } else if (target == -2) {
            const QPoint belowLast = f.RowCenter(9) + QPoint(0, 3 * f.view.rowHeight(9));
            QVERIFY(belowLast.y() < f.view.viewport()->height() - 20); // in the view, clear of the scroll edge
            f.view.DragMoveTo(belowLast);
            QCOMPARE(f.view.Model().DropTarget(), 10); // after the last row, which no row carries
            // A line in the highlight colour under the last row shows the place.
            const int lineY = f.view.visualRect(f.view.Model().index(9, 0)).bottom();
            const QImage shown = f.view.viewport()->grab().toImage();
            const QColor highlight = f.view.palette().color(QPalette::Highlight);
            QCOMPARE(shown.pixelColor(shown.width() / 2, lineY * shown.height() / f.view.viewport()->height()).rgb(),
                     highlight.rgb());
        }
        f.view.DragMoveTo(QPoint(-50, -50)); // leaving the view keeps the target
        f.view.EndDrag();
        QVERIFY(!f.view.IsDragging());
        QCOMPARE(f.view.Model().DropTarget(), -1);
        QCOMPARE(f.ProgramOrder(), order);
        QCOMPARE(f.ViewIds(), order);
        QCOMPARE(f.SelectedRows(), selectedAfter);
    }

    void randomDragsKeepViewAndDatabaseInStep()
    {
        // Over "All Prog" the view shows the whole program list, so after any sequence of drops
        // both must list the same ids in the same order, and the dropped rows stay selected.
        Fixture f(1, 1, 30);
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.view.ShowItems(ListKind::Programs, InvalidId);
        QRandomGenerator random(20261210);
        for (int round = 0; round < 50; ++round) {
            QList<int> rows;
            const int count = random.bounded(1, 5);
            while (rows.size() < count) {
                const int row = random.bounded(30);
                if (!rows.contains(row)) {
                    rows << row;
                }
            }
            std::sort(rows.begin(), rows.end());
            const int target = random.bounded(30);
            f.Select(rows);
            f.view.BeginDrag(rows.front());
            f.view.scrollTo(f.view.Model().index(target, 0));
            f.view.DragMoveTo(f.RowCenter(target));
            f.view.EndDrag();
            QCOMPARE(f.ViewIds(), f.ProgramOrder());
            QCOMPARE(f.view.RowCount(), 30);
            const bool unmoved = rows.size() == 1 && rows.front() == target;
            QCOMPARE(f.SelectedRows().size(), unmoved ? 1 : rows.size());
        }
    }

    void dragWithTheMouse()
    {
        Fixture f;
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.view.ShowItems(ListKind::Programs, InvalidId);
        QWidget* viewport = f.view.viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, f.RowCenter(5));
        QCOMPARE(f.SelectedRows(), QList<int>{5});
        QTest::mousePress(viewport, Qt::LeftButton, {}, f.RowCenter(5));
        QTest::mouseMove(viewport, f.RowCenter(4));
        QVERIFY(f.view.IsDragging());
        QWidgetList images;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == "dragImage") {
                images << widget;
            }
        }
        QCOMPARE(images.size(), 1);
        QVERIFY(images.front()->isVisible());
        QTest::mouseMove(viewport, f.RowCenter(2));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, f.RowCenter(2));
        QVERIFY(!f.view.IsDragging());
        QCOMPARE(f.ProgramOrder(), (QList<int>{0, 1, 5, 2, 3, 4, 6, 7, 8, 9}));
        QCOMPARE(f.SelectedRows(), QList<int>{2});
    }

    void dragNearTheBottomEdgeScrollsToFarRows()
    {
        Fixture f(1, 1, 400);
        f.view.resize(600, 200);
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.view.ShowItems(ListKind::Programs, InvalidId);
        f.Select({0});
        f.view.BeginDrag(0);
        const QPoint nearBottom(20, f.view.viewport()->height() - 3);
        f.view.DragMoveTo(nearBottom);
        QTRY_VERIFY(f.view.Model().DropTarget() > 12); // rows beyond the first screen come under the pointer
        f.view.DragMoveTo(QPoint(20, f.view.viewport()->height() / 2)); // away from the edge: scrolling stops
        const int target = f.view.Model().DropTarget();
        QTest::qWait(200);
        QCOMPARE(f.view.Model().DropTarget(), target);
        f.view.EndDrag();
        QCOMPARE(f.ProgramOrder().indexOf(0), target - 1);
        QCOMPARE(f.ViewIds(), f.ProgramOrder());
    }

    void dragInOneTransponderKeepsTheParent()
    {
        Fixture f(1, 2, 3); // programs 0-2 on transponder 0, 3-5 on transponder 1
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.view.ShowItems(ListKind::Programs, 1);
        f.Select({2});
        f.view.BeginDrag(2);
        f.view.DragMoveTo(f.RowCenter(0));
        f.view.EndDrag();
        QCOMPARE(f.ViewIds(), (QList<int>{5, 3, 4}));
        QCOMPARE(f.ProgramOrder(), (QList<int>{0, 1, 2, 5, 3, 4}));
        QCOMPARE(f.db->Progs().Find(5)->ParentId(), 1);
    }

    void filterNarrows_data()
    {
        QTest::addColumn<TextConditions>("conditions");
        QTest::addColumn<QList<int>>("ids");
        using C = QList<QPair<QString, QString>>;
        QTest::addRow("service id") << C{{"ServiceId", "103"}} << QList<int>{3};
        QTest::addRow("leading zero never matches") << C{{"ServiceId", "0103"}} << QList<int>{};
        QTest::addRow("whole name") << C{{"ProgName", "Prog4"}} << QList<int>{4};
        QTest::addRow("name case matters") << C{{"ProgName", "prog4"}} << QList<int>{};
        QTest::addRow("part of a name") << C{{"ProgName", "Prog"}} << QList<int>{};
        QTest::addRow("every row") << C{{"TpID", "0"}} << Range(0, 9);
        QTest::addRow("conditions combine with and") << C{{"TpID", "0"}, {"ProgID", "7"}} << QList<int>{7};
        QTest::addRow("contradicting conditions") << C{{"ProgID", "7"}, {"ServiceId", "108"}} << QList<int>{};
    }
    void filterNarrows()
    {
        QFETCH(TextConditions, conditions);
        QFETCH(QList<int>, ids);
        Fixture f;
        f.view.ShowItems(ListKind::Programs, InvalidId);
        f.QueueFilter(conditions);
        f.view.Filter();
        QCOMPARE(f.ui.dialogTitles, QStringList{"Prog Filter"});
        QCOMPARE(f.ViewIds(), ids);
        QCOMPARE(int(f.db->Progs().Count()), 10); // the database is not changed
    }

    void filterAgainNarrowsFurther()
    {
        Fixture f;
        f.db->Progs().Find(2)->SetHide(1);
        f.db->Progs().Find(6)->SetHide(1);
        f.db->Progs().Find(6)->SetLock(1);
        f.view.ShowItems(ListKind::Programs, InvalidId);
        f.QueueFilter({{"Hide", "1"}});
        f.view.Filter();
        QCOMPARE(f.ViewIds(), (QList<int>{2, 6}));
        f.QueueFilter({{"Lock", "1"}});
        f.view.Filter();
        QCOMPARE(f.ViewIds(), QList<int>{6});
        f.view.Filter(); // one row: nothing to narrow, but the command itself still runs
        QCOMPARE(f.ViewIds(), QList<int>{6});
        f.view.ShowItems(ListKind::Programs, InvalidId);
        QCOMPARE(f.view.RowCount(), 10);
    }

    void filterCaptionFollowsTheKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("firstColumn");
        QTest::addRow("programs") << int(ListKind::Programs) << "Prog Filter"
                                  << "ProgID";
        QTest::addRow("transponders") << int(ListKind::Transponders) << "Tp Filter"
                                      << "TpID";
        QTest::addRow("satellites") << int(ListKind::Satellites) << "Sat Filter"
                                    << "SatID";
    }
    void filterCaptionFollowsTheKind()
    {
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(QString, firstColumn);
        Fixture f(2, 2, 2);
        f.view.ShowItems(static_cast<ListKind>(kind), InvalidId);
        QString offered;
        f.ui.QueueDialog([&offered](QDialog& dialog) {
            offered = dialog.findChild<QComboBox*>("columnChooser")->itemText(0);
            ClickButton(dialog, "cancelButton");
            return dialog.result();
        });
        const QList<int> before = f.ViewIds();
        f.view.Filter();
        QCOMPARE(f.ui.dialogTitles, QStringList{caption});
        QCOMPARE(offered, firstColumn);
        QCOMPARE(f.ViewIds(), before); // cancelled: nothing changes
    }

    void filterOnAnEmptyListShowsNoDialog()
    {
        Fixture f(0, 0, 0);
        f.view.ShowItems(ListKind::Programs, InvalidId);
        f.view.Filter();
        QVERIFY(f.ui.dialogTitles.empty());
    }

    void nextMatch_data()
    {
        QTest::addColumn<ColumnConditions>("conditions");
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("row");
        using C = QList<QPair<int, QString>>;
        QTest::addRow("no condition matches the first row") << C{} << -1 << 0;
        QTest::addRow("no condition, after 4") << C{} << 4 << 5;
        QTest::addRow("no condition past the end") << C{} << 9 << -1;
        QTest::addRow("hidden rows from the top") << C{{7, "1"}} << -1 << 3;
        QTest::addRow("hidden rows after 3") << C{{7, "1"}} << 3 << 8;
        QTest::addRow("hidden rows after 8") << C{{7, "1"}} << 8 << -1;
        QTest::addRow("column out of range matches nothing") << C{{40, "1"}} << -1 << -1;
    }
    void nextMatch()
    {
        QFETCH(ColumnConditions, conditions);
        QFETCH(int, after);
        QFETCH(int, row);
        Fixture f;
        f.db->Progs().Find(3)->SetHide(1);
        f.db->Progs().Find(8)->SetHide(1);
        f.view.ShowItems(ListKind::Programs, InvalidId);
        FilterSpec spec;
        for (const auto& [column, value] : conditions) {
            spec.conditions.push_back(FilterCondition{column, value.toStdString()});
        }
        QCOMPARE(f.view.NextMatch(spec, after), row);
    }

    void nameFilterUsesTheInternalCodePage()
    {
        const ScopedCodePage cyrillic("1251");
        QVERIFY(cyrillic.Installed());
        Fixture f(1, 1, 2);
        f.db->Progs().Find(1)->SetProgName("\xCF\xE5\xF0\xE2\xFB\xE9"); // "Первый" in 1251
        f.view.ShowItems(ListKind::Programs, InvalidId);
        QCOMPARE(f.view.Model().index(1, 2).data().toString(), QString::fromUtf8("Первый"));
        f.QueueFilter({{"ProgName", QString::fromUtf8("Первый")}});
        f.view.Filter();
        QCOMPARE(f.ViewIds(), QList<int>{1});
    }

    void modelStaysConsistentThroughEdits()
    {
        Fixture f(2, 2, 5);
        QAbstractItemModelTester tester(&f.view.Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        f.view.ShowItems(ListKind::Programs, InvalidId);
        QSignalSpy removed(&f.view.Model(), &QAbstractItemModel::rowsRemoved);
        f.Select({1, 2, 3, 7, 12});
        f.view.DeleteSelected();
        QCOMPARE(removed.count(), 3); // one step per run of neighbouring rows
        QCOMPARE(f.view.RowCount(), 15);
        f.view.ShowItems(ListKind::Satellites, InvalidId);
        f.view.AttachDatabase(f.db.get(), &f.history);
    }

    // A cell edited in place with F2: the value typed or chosen, the cell afterwards, and the box a
    // refused value brings (the cell then stays as it was).
    void inPlaceEditing_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("input"); // typed, or the drop-down's text
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("refusal");
        const int progs = int(ListKind::Programs);
        const int sats = int(ListKind::Satellites);
        const int tps = int(ListKind::Transponders);
        const QString notChanged = "\nThe name was not changed.";
        QTest::addRow("service id") << progs << 9 << "1234"
                                    << "1234"
                                    << "";
        QTest::addRow("service id at its widest") << progs << 9 << "65535"
                                                  << "65535"
                                                  << "";
        QTest::addRow("service id too wide") << progs << 9 << "65536"
                                             << "101"
                                             << "ServiceId takes a number from 0 to 65535.";
        QTest::addRow("fav type as its cell shows it") << progs << 14 << "-2147483647"
                                                       << "-2147483647"
                                                       << "";
        QTest::addRow("an empty number") << progs << 9 << ""
                                         << "101"
                                         << "ServiceId takes a number from 0 to 65535.";
        QTest::addRow("program name") << progs << 2 << QString::fromUtf8("Первый канал")
                                      << QString::fromUtf8("Первый канал") << "";
        QTest::addRow("program name of 41 bytes")
            << progs << 2 << QString(41, QChar(0x0416)) << QString(41, QChar(0x0416)) << "";
        QTest::addRow("program name of 42 bytes")
            << progs << 2 << QString(42, 'x') << "Prog1"
            << "A program name has at most 41 bytes; this one has 42." + notChanged;
        QTest::addRow("a character the code page lacks")
            << progs << 2 << QString::fromUtf8("ТВ 日本") << "Prog1"
            << QString::fromUtf8("The receiver cannot show these characters: 日本") + notChanged;
        QTest::addRow("hide from the drop-down") << progs << 7 << "On"
                                                 << "1"
                                                 << "";
        QTest::addRow("satellite name") << sats << 1 << "Astra 19.2E"
                                        << "Astra 19.2E"
                                        << "";
        QTest::addRow("satellite name of 17 bytes")
            << sats << 1 << QString(17, 'a') << "Sat1"
            << "A satellite name has at most 16 bytes; this one has 17." + notChanged;
        QTest::addRow("12V from the drop-down") << sats << 5 << "On"
                                                << "1"
                                                << "";
        QTest::addRow("LNB frequency from the drop-down") << sats << 3 << "10600"
                                                          << "10600"
                                                          << "";
        QTest::addRow("polarity from the drop-down") << tps << 4 << "V"
                                                     << "1"
                                                     << "";
        QTest::addRow("frequency") << tps << 2 << "11836"
                                   << "11836"
                                   << "";
    }
    void inPlaceEditing()
    {
        QFETCH(int, kind);
        QFETCH(int, column);
        QFETCH(QString, input);
        QFETCH(QString, cell);
        QFETCH(QString, refusal);
        const ScopedCodePage cyrillic("1251");
        QVERIFY(cyrillic.Installed());
        Fixture f(2, 2, 1);
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.view.ShowItems(static_cast<ListKind>(kind), InvalidId);
        const QModelIndex index = f.view.Model().index(1, column);
        const QString before = index.data().toString();
        f.view.setCurrentIndex(index);
        QTest::keyClick(&f.view, Qt::Key_F2);
        if (auto* box = f.view.viewport()->findChild<QComboBox*>("cellChoice")) {
            box->setCurrentIndex(box->findText(input));
            QVERIFY(box->currentIndex() >= 0);
            QTest::keyClick(box, Qt::Key_Return);
        } else {
            auto* edit = f.view.viewport()->findChild<QLineEdit*>();
            QVERIFY(edit != nullptr);
            edit->setText(input);
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QCoreApplication::processEvents(); // the editor commits its value from the event loop
        QCOMPARE(index.data().toString(), cell);
        const int sats = int(ListKind::Satellites);
        if (refusal.isEmpty()) {
            QVERIFY(f.ui.messages.empty());
            const bool nameColumn = (kind == int(ListKind::Programs) && column == 2) || (kind == sats && column == 1);
            QCOMPARE(f.history.UndoName().rfind(nameColumn ? "Rename" : "Edit", 0), std::size_t(0));
            QVERIFY(f.history.Undo());
            QCOMPARE(index.data().toString(), before);
        } else {
            QCOMPARE(f.ui.messages.size(), std::size_t(1));
            QCOMPARE(f.ui.messages[0].text, refusal);
            QCOMPARE(f.ui.messages[0].caption, "Edit Cell");
            QCOMPARE(f.ui.messages[0].icon, ui::MessageIcon::Error);
            QVERIFY(!f.history.CanUndo());
        }
    }

    void numberEditorShowsItsRangeAndDoubleClickEdits()
    {
        Fixture f(1, 1, 3);
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.view.ShowItems(ListKind::Programs, InvalidId);
        const QModelIndex index = f.view.Model().index(2, 9);
        f.view.scrollTo(index);
        QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.view.visualRect(index).center());
        QTest::mouseDClick(f.view.viewport(), Qt::LeftButton, {}, f.view.visualRect(index).center());
        auto* edit = f.view.viewport()->findChild<QLineEdit*>("cellNumber");
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->toolTip(), "ServiceId: a number from 0 to 65535");
        QCOMPARE(edit->text(), "102");
        // The validator keeps out what is no number.
        for (const char* typed : {"-7x", "1e3", "0x10", "12345678901"}) {
            QString text(typed);
            int position = 0;
            QCOMPARE(edit->validator()->validate(text, position), QValidator::Invalid);
        }
        QString number("65535");
        int position = 0;
        QCOMPARE(edit->validator()->validate(number, position), QValidator::Acceptable);
    }

    void idsAndTheTransponderColumnAreReadOnly_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("column");
        QTest::addRow("program id") << int(ListKind::Programs) << 0;
        QTest::addRow("transponder id on a program row") << int(ListKind::Programs) << 1;
        QTest::addRow("transponder id") << int(ListKind::Transponders) << 0;
        QTest::addRow("satellite id on a transponder row") << int(ListKind::Transponders) << 1;
        QTest::addRow("satellite id") << int(ListKind::Satellites) << 0;
    }
    void idsAndTheTransponderColumnAreReadOnly()
    {
        QFETCH(int, kind);
        QFETCH(int, column);
        Fixture f(1, 1, 3);
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        f.view.ShowItems(static_cast<ListKind>(kind), InvalidId);
        const QModelIndex index = f.view.Model().index(0, column);
        QVERIFY(!f.view.Model().flags(index).testFlag(Qt::ItemIsEditable));
        f.view.setCurrentIndex(index);
        QTest::keyClick(&f.view, Qt::Key_F2);
        QVERIFY(f.view.viewport()->findChild<QLineEdit*>() == nullptr);
        QVERIFY(f.view.viewport()->findChild<QComboBox*>() == nullptr);
    }

    void undoOfADeleteBringsTheRowsBackIntoAFilteredList()
    {
        Fixture f;
        f.view.ShowItems(ListKind::Programs, InvalidId);
        f.QueueFilter({{"Hide", "0"}});
        f.view.Filter();
        f.Select({2, 3});
        f.view.DeleteSelected();
        QCOMPARE(f.ViewIds(), (QList<int>{0, 1, 4, 5, 6, 7, 8, 9}));
        QVERIFY(f.history.Undo());
        QCOMPARE(f.ViewIds(), Range(0, 9));
        QVERIFY(f.history.Redo());
        QCOMPARE(f.ViewIds(), (QList<int>{0, 1, 4, 5, 6, 7, 8, 9}));
    }
};

} // namespace editor

QTEST_MAIN(editor::ListViewTest)
#include "ListViewTest.moc"
