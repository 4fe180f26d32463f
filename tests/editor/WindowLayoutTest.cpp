// A readable list: resizable columns whose widths are kept per list kind and per user, a header
// edge that fits its column on a double-click, tooltips on coded cells, another tree item shown
// from the top-left with only its first row selected; the window's geometry and splitter kept.
#include "FrameHarness.h"
#include "ListRows.h"
#include "TestDatabase.h"
#include "db/CProgDb.h"
#include "editor/CMainFrame.h"
#include "editor/models/ProgListModel.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/CProgListView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QtTest>

using core::CProgDb;

namespace editor {

namespace {
constexpr int kNameColumn = 2; // ProgName
constexpr int kDefaultWidth = 80;

QList<int> Widths(const CProgListView& list)
{
    QList<int> widths;
    for (int column = 0; column < list.model()->columnCount(); ++column) {
        widths << list.columnWidth(column);
    }
    return widths;
}
} // namespace

class WindowLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void columnWidthsAreKeptPerKindAndUser()
    {
        testsupport::TempDir settings;
        auto db = MakeDatabase(2, 2, 3);
        {
            FrameHarness first(settings.Path());
            first.Open(*db);
            first.Choose(first.AllProgItem());
            QCOMPARE(Widths(first.List()), QList<int>(18, kDefaultWidth));
            first.List().horizontalHeader()->resizeSection(kNameColumn, 230);
            first.Choose(first.SatRootItem());
            first.List().horizontalHeader()->resizeSection(1, 150);
            // Back on the programs in the same window: their widths, not the satellites'.
            first.Choose(first.AllProgItem());
            QCOMPARE(first.List().columnWidth(kNameColumn), 230);
            QCOMPARE(first.List().columnWidth(1), kDefaultWidth);
        }
        FrameHarness second(settings.Path());
        second.Open(*db);
        second.Choose(second.AllProgItem());
        QList<int> programs(18, kDefaultWidth);
        programs[kNameColumn] = 230;
        QCOMPARE(Widths(second.List()), programs);
        second.Choose(second.SatRootItem());
        QList<int> satellites(13, kDefaultWidth);
        satellites[1] = 150;
        QCOMPARE(Widths(second.List()), satellites);
        second.SatRootItem()->setExpanded(true);
        second.Choose(second.SatItem(0));
        QCOMPARE(Widths(second.List()), QList<int>(5, kDefaultWidth)); // transponders: never resized
    }

    void doubleClickOnAHeaderEdgeFitsTheColumn()
    {
        testsupport::TempDir settings;
        auto db = MakeDatabase(1, 1, 3);
        db->Progs().Find(1)->SetProgName("A long program name cut off at 80 pixels");
        {
            FrameHarness h(settings.Path());
            h.Open(*db);
            h.Choose(h.AllProgItem());
            QVERIFY(QTest::qWaitForWindowExposed(&h.Frame()));
            QHeaderView& header = *h.List().horizontalHeader();
            QCOMPARE(header.sectionResizeMode(kNameColumn), QHeaderView::Interactive);
            const int edge = header.sectionViewportPosition(kNameColumn) + header.sectionSize(kNameColumn) - 1;
            QTest::mouseDClick(header.viewport(), Qt::LeftButton, {}, QPoint(edge, header.height() / 2));
            const int fitted = h.List().columnWidth(kNameColumn);
            QVERIFY2(fitted > 200, qPrintable(QString::number(fitted))); // from 80 to the long name's width
            // Fitting a fitted column leaves it as it is.
            const int again = header.sectionViewportPosition(kNameColumn) + header.sectionSize(kNameColumn) - 1;
            QTest::mouseDClick(header.viewport(), Qt::LeftButton, {}, QPoint(again, header.height() / 2));
            QCOMPARE(h.List().columnWidth(kNameColumn), fitted);
            // The text of the cell is the name as it is, not shortened.
            QCOMPARE(h.List().Model().index(1, kNameColumn).data().toString(),
                     "A long program name cut off at 80 pixels");
        }
        FrameHarness again(settings.Path());
        again.Open(*db);
        again.Choose(again.AllProgItem());
        QVERIFY(again.List().columnWidth(kNameColumn) > 200);
    }

    void anotherTreeItemShowsItsListFromTheTopLeft()
    {
        FrameHarness h;
        auto db = MakeDatabase(2, 1, 300);
        h.Open(*db);
        h.Frame().resize(700, 400);
        QVERIFY(QTest::qWaitForWindowExposed(&h.Frame()));
        h.SatRootItem()->setExpanded(true);
        h.SatItem(0)->setExpanded(true);
        h.SatItem(1)->setExpanded(true);
        h.Choose(h.TpItem(0, 0));
        CProgListView& list = h.List();
        QCOMPARE(SelectedRows(list), QList<int>{0});
        QCOMPARE(list.currentIndex(), list.Model().index(0, 0));
        // Down and to the right, with rows far below selected.
        list.selectionModel()->clearSelection();
        for (const int row : {250, 251, 260}) {
            list.selectionModel()->select(list.Model().index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        list.setCurrentIndex(list.Model().index(260, 17));
        list.scrollTo(list.Model().index(260, 17));
        QVERIFY(list.verticalScrollBar()->value() > 0);
        QVERIFY(list.horizontalScrollBar()->value() > 0);

        h.Choose(h.TpItem(1, 0));
        QCOMPARE(list.Model().IdAt(0), 300);
        QCOMPARE(list.verticalScrollBar()->value(), 0);
        QCOMPARE(list.horizontalScrollBar()->value(), 0);
        QCOMPARE(SelectedRows(list), QList<int>{0});
        QCOMPARE(list.currentIndex(), list.Model().index(0, 0));

        // A list with no rows: nothing selected, no current row.
        auto empty = MakeDatabase(1, 0, 0);
        h.Open(*empty);
        h.Choose(h.AllProgItem());
        QVERIFY(SelectedRows(list).isEmpty());
        QVERIFY(!list.currentIndex().isValid());
    }

    void geometryAndSplitterAreKept()
    {
        testsupport::TempDir settings;
        QList<int> moved;
        {
            FrameHarness first(settings.Path());
            QVERIFY(QTest::qWaitForWindowExposed(&first.Frame()));
            first.Frame().resize(820, 540);
            QSplitter& splitter = *first.Frame().Splitter();
            QTRY_COMPARE(splitter.sizes().at(0), 160);
            // The user drags the handle 90 pixels to the right.
            QWidget* handle = splitter.handle(1);
            const QPoint grip = handle->rect().center();
            QTest::mousePress(handle, Qt::LeftButton, {}, grip);
            QMouseEvent move(QEvent::MouseMove,
                             QPointF(grip + QPoint(90, 0)),
                             handle->mapToGlobal(QPointF(grip + QPoint(90, 0))),
                             Qt::NoButton,
                             Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(handle, &move);
            QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(90, 0));
            moved = splitter.sizes();
            QCOMPARE(moved.at(0), 250);
            QVERIFY(first.Frame().close());
        }
        FrameHarness second(settings.Path());
        QVERIFY(QTest::qWaitForWindowExposed(&second.Frame()));
        QCOMPARE(second.Frame().size(), QSize(820, 540));
        QCOMPARE(second.Frame().Splitter()->sizes(), moved);
    }

    void tooltipsExplainCodedCells_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        const int sats = int(ListKind::Satellites);
        QTest::addRow("LocalFre1") << sats << 3 << "9750"
                                   << "LNB local oscillator 1: 9750 MHz (table index 3)";
        QTest::addRow("LocalFre2 outside the table")
            << sats << 4 << "5150"
            << "LNB local oscillator 2: 5150 MHz (index 15 is outside the frequency table)";
        QTest::addRow("12V") << sats << 5 << "1"
                             << "12 V output on";
        QTest::addRow("22K") << sats << 6 << "0"
                             << "22 kHz tone off";
        QTest::addRow("DiSEqC") << sats << 7 << "3"
                                << "DiSEqC switch port 3";
        QTest::addRow("LnbTpype") << sats << 10 << "2"
                                  << "LNB type 2, local oscillators 9750 MHz and 5150 MHz";
        QTest::addRow("Longitude says it plainly") << sats << 2 << "100"
                                                   << "";
        QTest::addRow("Polar") << int(ListKind::Transponders) << 4 << "1"
                               << "Polarisation V (vertical)";
        QTest::addRow("a program cell") << int(ListKind::Programs) << 9 << "100"
                                        << "";
    }
    void tooltipsExplainCodedCells()
    {
        QFETCH(int, kind);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, tip);
        auto db = MakeDatabase(1, 1, 1);
        core::CSatNode& sat = *db->Sats().Find(0);
        sat.SetLocalFre1(3);
        sat.SetLocalFre2(15);
        sat.SetSwitch12V(1);
        sat.SetTone22K(0);
        sat.SetDiSEqC(3);
        sat.SetLnbType(2);
        db->Tps().Find(0)->SetPolar(1);
        ProgListModel model;
        model.AttachDatabase(db.get());
        model.ShowItems(static_cast<ListKind>(kind), core::InvalidId);
        QCOMPARE(model.index(0, column).data(Qt::DisplayRole).toString(), text); // the cell keeps its text
        QCOMPARE(model.index(0, column).data(Qt::ToolTipRole).toString(), tip);
    }

    void tone22KTooltips_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("tip");
        QTest::addRow("0") << 0 << "22 kHz tone off";
        QTest::addRow("1") << 1 << "22 kHz tone on";
        QTest::addRow("2") << 2 << "22 kHz tone setting 2";
        QTest::addRow("3") << 3 << "22 kHz tone setting 3";
    }
    void tone22KTooltips()
    {
        QFETCH(int, value);
        QFETCH(QString, tip);
        auto db = MakeDatabase(1, 0, 0);
        db->Sats().Find(0)->SetTone22K(static_cast<std::uint32_t>(value));
        db->Sats().Find(0)->SetDiSEqC(0);
        ProgListModel model;
        model.AttachDatabase(db.get());
        model.ShowItems(ListKind::Satellites, core::InvalidId);
        QCOMPARE(model.index(0, 6).data(Qt::ToolTipRole).toString(), tip);
        QCOMPARE(model.index(0, 7).data(Qt::ToolTipRole).toString(), "DiSEqC: no switch port");
    }
};

} // namespace editor

QTEST_MAIN(editor::WindowLayoutTest)
#include "WindowLayoutTest.moc"
