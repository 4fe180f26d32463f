// Where the New commands put their node, from what the list shows and its current row; each place
// is checked to be one AddNode accepts, with the node landing right after the node named.
#include "editor/models/NewNodePlace.h"
#include "TestDatabase.h"
#include "db/CProgNode.h"
#include "db/CSatNode.h"
#include "db/CTpNode.h"
#include "edit/AddNode.h"
#include "edit/CEditHistory.h"

#include <QtTest>

using core::InvalidId;

namespace editor {

namespace {
// The id before the node `id` in its list, or InvalidId when it is first.
template <typename TList>
std::int32_t Predecessor(const TList& list, std::int32_t id)
{
    std::int32_t previous = InvalidId;
    for (const auto& node : list) {
        if (node.Id() == id) {
            return previous;
        }
        previous = node.Id();
    }
    return InvalidId;
}

std::int32_t PredecessorOf(const core::CProgDb& db, core::NodeType kind, std::int32_t id)
{
    switch (kind) {
    case core::Sat:
        return Predecessor(db.Sats(), id);
    case core::Tp:
        return Predecessor(db.Tps(), id);
    case core::Prog:
        break;
    }
    return Predecessor(db.Progs(), id);
}
} // namespace

class NewNodePlaceTest : public QObject
{
    Q_OBJECT

private slots:
    void places_data()
    {
        // 2 satellites (0, 1) x 2 transponders (0 1 | 2 3) x 3 programs (0-2 | 3-5 | 6-8 | 9-11).
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("shownParent");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("placed");
        QTest::addColumn<int>("parent");
        QTest::addColumn<int>("after");
        const int sats = int(ListKind::Satellites);
        const int tps = int(ListKind::Transponders);
        const int progs = int(ListKind::Programs);
        const int none = InvalidId;
        QTest::addRow("satellite after the current one") << int(core::Sat) << sats << none << 0 << true << none << 0;
        QTest::addRow("satellite without a current row: last")
            << int(core::Sat) << sats << none << none << true << none << 1;
        QTest::addRow("satellite from the program list: last")
            << int(core::Sat) << progs << 2 << 7 << true << none << 1;
        QTest::addRow("satellite after a vanished row: last")
            << int(core::Sat) << sats << none << 99 << true << none << 1;
        QTest::addRow("transponder after the current one") << int(core::Tp) << tps << 1 << 2 << true << 1 << 2;
        QTest::addRow("transponder of the shown satellite, none current")
            << int(core::Tp) << tps << 1 << none << true << 1 << 3;
        QTest::addRow("transponder in the list of all, after the current")
            << int(core::Tp) << tps << none << 1 << true << 0 << 1;
        QTest::addRow("transponder in the list of all, none current: no satellite")
            << int(core::Tp) << tps << none << none << false << none << none;
        QTest::addRow("transponder of the current satellite") << int(core::Tp) << sats << none << 1 << true << 1 << 3;
        QTest::addRow("transponder with no satellite current")
            << int(core::Tp) << sats << none << none << false << none << none;
        QTest::addRow("transponder from a program row: its satellite")
            << int(core::Tp) << progs << 2 << 7 << true << 1 << 3;
        QTest::addRow("transponder from a transponder's programs, none current")
            << int(core::Tp) << progs << 2 << none << true << 1 << 3;
        QTest::addRow("program after the current one") << int(core::Prog) << progs << 1 << 4 << true << 1 << 4;
        QTest::addRow("program of the shown transponder, none current")
            << int(core::Prog) << progs << 1 << none << true << 1 << 5;
        QTest::addRow("program after a vanished row: the shown transponder's last")
            << int(core::Prog) << progs << 1 << 99 << true << 1 << 5;
        QTest::addRow("program in the list of all, after the current")
            << int(core::Prog) << progs << none << 10 << true << 3 << 10;
        QTest::addRow("program in the list of all, none current: no transponder")
            << int(core::Prog) << progs << none << none << false << none << none;
        QTest::addRow("program of the current transponder") << int(core::Prog) << tps << 0 << 1 << true << 1 << 5;
        QTest::addRow("program with only a satellite in sight")
            << int(core::Prog) << tps << 0 << none << false << none << none;
        QTest::addRow("program from the satellite list")
            << int(core::Prog) << sats << none << 0 << false << none << none;
    }
    void places()
    {
        QFETCH(int, kind);
        QFETCH(int, shown);
        QFETCH(int, shownParent);
        QFETCH(int, current);
        QFETCH(bool, placed);
        QFETCH(int, parent);
        QFETCH(int, after);
        const std::unique_ptr<core::CProgDb> db = MakeDatabase(2, 2, 3);
        const auto type = static_cast<core::NodeType>(kind);
        const std::optional<NewNodePlace> place
            = PlaceNewNode(*db, type, ListContext{static_cast<ListKind>(shown), shownParent, current});
        QCOMPARE(place.has_value(), placed);
        if (!placed) {
            return;
        }
        QCOMPARE(place->parentId, parent);
        QCOMPARE(place->afterId, after);

        core::CEditHistory history(*db);
        QVERIFY(history.Do(core::AddNode(type, place->parentId, place->afterId)));
        const std::int32_t added = history.LastChange().nodeId;
        QVERIFY(added != InvalidId);
        QCOMPARE(PredecessorOf(*db, type, added), after);
    }

    void emptyTransponderTakesItsFirstProgramAtTheEnd()
    {
        const std::unique_ptr<core::CProgDb> db = MakeDatabase(1, 2, 2); // programs 0 1 | 2 3
        for (const std::int32_t id : {2, 3}) {
            QVERIFY(db->Progs().Delete(id));
        }
        const std::optional<NewNodePlace> place
            = PlaceNewNode(*db, core::Prog, ListContext{ListKind::Programs, 1, InvalidId});
        QVERIFY(place.has_value());
        QCOMPARE(place->parentId, 1);
        QCOMPARE(place->afterId, InvalidId);
    }
};

} // namespace editor

QTEST_MAIN(editor::NewNodePlaceTest)
#include "NewNodePlaceTest.moc"
