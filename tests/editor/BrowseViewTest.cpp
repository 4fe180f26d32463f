// The browse tree: its items, their texts and images, and what a selection asks the list to show.
#include "TestDatabase.h"
#include "editor/views/CProgBrowseView.h"
#include "editor/views/TreeIcons.h"

#include <QSignalSpy>
#include <QtTest>

using core::CProgDb;
using core::CSatNode;
using core::CTpNode;
using core::InvalidId;

Q_DECLARE_METATYPE(editor::ListKind)

namespace editor {

namespace {
struct Shown
{
    ListKind kind;
    std::int32_t id;
};

Shown LastShown(const QSignalSpy& spy)
{
    const QList<QVariant>& args = spy.last();
    return {args[0].value<ListKind>(), args[1].value<std::int32_t>()};
}

QTreeWidgetItem* SatRoot(CProgBrowseView& tree)
{
    return tree.topLevelItem(1);
}
} // namespace

class BrowseViewTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<ListKind>(); }

    void emptyUntilADatabaseArrives()
    {
        CProgBrowseView tree;
        tree.RebuildTree(nullptr);
        QCOMPARE(tree.topLevelItemCount(), 0);
    }

    void emptyDatabaseGivesTwoItems()
    {
        CProgDb db;
        CProgBrowseView tree;
        tree.RebuildTree(&db);
        QCOMPARE(tree.topLevelItemCount(), 2);
        QCOMPARE(tree.topLevelItem(0)->text(0), "All Prog");
        QCOMPARE(tree.topLevelItem(0)->data(0, CProgBrowseView::ImageRole).toInt(), int(ScreenImage));
        QCOMPARE(tree.topLevelItem(0)->data(0, CProgBrowseView::IdRole).toInt(), -1);
        QCOMPARE(tree.topLevelItem(1)->text(0), "Sat");
        QCOMPARE(tree.topLevelItem(1)->data(0, CProgBrowseView::ImageRole).toInt(), int(SatelliteImage));
        QCOMPARE(tree.topLevelItem(1)->data(0, CProgBrowseView::IdRole).toInt(), -1);
        QCOMPARE(SatRoot(tree)->childCount(), 0);
    }

    void satellitesAndTranspondersInDatabaseOrder()
    {
        CProgDb db;
        // Names out of alphabetical order, a duplicate name, and a satellite without transponders.
        for (const char* name : {"Zeta", "Alpha", "Zeta", "Empty"}) {
            auto sat = std::make_unique<CSatNode>();
            sat->SetName(name);
            db.Sats().Add(std::move(sat));
        }
        // Transponders interleaved between satellites, one without a satellite.
        const std::vector<std::pair<std::int32_t, std::uint32_t>> tps{
            {2, 11720}, {0, 10714}, {1, 12188}, {0, 12603}, {7, 11000}, {2, 10832}};
        for (const auto& [parent, freq] : tps) {
            auto tp = std::make_unique<CTpNode>(InvalidId, parent);
            tp->SetFrequency(freq);
            tp->SetSymbolRate(27500);
            db.Tps().Add(std::move(tp));
        }
        CProgBrowseView tree;
        tree.RebuildTree(&db);

        QTreeWidgetItem* sats = SatRoot(tree);
        QCOMPARE(sats->childCount(), 4);
        const QStringList names{"Zeta", "Alpha", "Zeta", "Empty"};
        const QList<QStringList> children{
            {"1-10714-27500", "3-12603-27500"}, {"2-12188-27500"}, {"0-11720-27500", "5-10832-27500"}, {}};
        for (int s = 0; s < 4; ++s) {
            QTreeWidgetItem* sat = sats->child(s);
            QCOMPARE(sat->text(0), names[s]);
            QCOMPARE(sat->data(0, CProgBrowseView::IdRole).toInt(), s);
            QCOMPARE(sat->data(0, CProgBrowseView::ImageRole).toInt(), int(SatelliteImage));
            QStringList texts;
            for (int t = 0; t < sat->childCount(); ++t) {
                texts << sat->child(t)->text(0);
                QCOMPARE(sat->child(t)->data(0, CProgBrowseView::ImageRole).toInt(), int(DishImage));
            }
            QCOMPARE(texts, children[s]);
        }
        // No expand button where there is nothing to expand; nothing open, nothing selected.
        QCOMPARE(sats->child(3)->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);
        QCOMPARE(sats->child(3)->childCount(), 0);
        QVERIFY(!sats->isExpanded());
        QVERIFY(tree.selectedItems().isEmpty());
    }

    void selectionAsksForItems_data()
    {
        QTest::addColumn<QList<int>>("path"); // child indexes from the top level
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("id");
        QTest::addRow("All Prog") << QList<int>{0} << int(ListKind::Programs) << -1;
        QTest::addRow("Sat") << QList<int>{1} << int(ListKind::Satellites) << -1;
        QTest::addRow("second satellite") << QList<int>{1, 1} << int(ListKind::Transponders) << 1;
        QTest::addRow("transponder of second satellite") << QList<int>{1, 1, 1} << int(ListKind::Programs) << 3;
    }
    void selectionAsksForItems()
    {
        QFETCH(QList<int>, path);
        QFETCH(int, kind);
        QFETCH(int, id);
        const auto db = MakeDatabase(2, 2, 1);
        CProgBrowseView tree;
        tree.RebuildTree(db.get());
        QSignalSpy spy(&tree, &CProgBrowseView::ShowItemsRequested);
        QTreeWidgetItem* item = tree.topLevelItem(path[0]);
        for (int i = 1; i < path.size(); ++i) {
            item = item->child(path[i]);
        }
        tree.setCurrentItem(item);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(int(LastShown(spy).kind), kind);
        QCOMPARE(LastShown(spy).id, id);
    }

    void kindComesFromTheImageNotTheText()
    {
        CProgDb db;
        for (const char* name : {"All Prog", "Sat"}) {
            auto sat = std::make_unique<CSatNode>();
            sat->SetName(name);
            db.Sats().Add(std::move(sat));
        }
        CProgBrowseView tree;
        tree.RebuildTree(&db);
        QSignalSpy spy(&tree, &CProgBrowseView::ShowItemsRequested);
        tree.setCurrentItem(SatRoot(tree)->child(0)); // a satellite named "All Prog"
        QCOMPARE(int(LastShown(spy).kind), int(ListKind::Transponders));
        QCOMPARE(LastShown(spy).id, 0);
        tree.setCurrentItem(SatRoot(tree)->child(1)); // a satellite named "Sat"
        QCOMPARE(int(LastShown(spy).kind), int(ListKind::Transponders));
        QCOMPARE(LastShown(spy).id, 1);
    }

    void rebuildClearsSelectionWithoutAskingAgain()
    {
        const auto db = MakeDatabase(2, 1, 0);
        CProgBrowseView tree;
        tree.RebuildTree(db.get());
        tree.setCurrentItem(SatRoot(tree)->child(1));
        tree.expandAll();
        QSignalSpy spy(&tree, &CProgBrowseView::ShowItemsRequested);
        QVERIFY(db->Sats().Delete(0));
        tree.RefreshTree();
        QCOMPARE(spy.count(), 0);
        QVERIFY(tree.selectedItems().isEmpty());
        QCOMPARE(SatRoot(tree)->childCount(), 1);
        QCOMPARE(SatRoot(tree)->child(0)->text(0), "Sat1");
        QVERIFY(!SatRoot(tree)->isExpanded());
    }

    void iconsAreSixteenPixelPictograms()
    {
        for (const int image : {SatelliteImage, DishImage, ScreenImage}) {
            const QImage picture = TreeIcon(image).pixmap(16, 16).toImage();
            QCOMPARE(picture.size(), QSize(16, 16));
            bool drawn = false;
            for (int y = 0; y < 16 && !drawn; ++y) {
                for (int x = 0; x < 16 && !drawn; ++x) {
                    const QColor pixel = picture.pixelColor(x, y);
                    drawn = pixel.alpha() > 0;
                    if (drawn) {
                        QVERIFY(qAbs(pixel.red() - pixel.green()) < 8 && qAbs(pixel.green() - pixel.blue()) < 8);
                    }
                }
            }
            QVERIFY(drawn);
        }
        QVERIFY(TreeIcon(SatelliteImage).pixmap(16, 16).toImage() != TreeIcon(DishImage).pixmap(16, 16).toImage());
        QVERIFY(TreeIcon(DishImage).pixmap(16, 16).toImage() != TreeIcon(ScreenImage).pixmap(16, 16).toImage());
    }
};

} // namespace editor

QTEST_MAIN(editor::BrowseViewTest)
#include "BrowseViewTest.moc"
