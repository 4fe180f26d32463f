// The history's own state: the saved point, the names, what observers hear, and changes made
// behind its back.
#include "EditFixtures.h"
#include "edit/AddNode.h"
#include "edit/CEditHistory.h"
#include "edit/DeleteNodes.h"
#include "edit/IEditObserver.h"
#include "edit/MoveNodes.h"
#include "edit/SetField.h"
#include "edit/SortNodes.h"

#include <gtest/gtest.h>

namespace core {

namespace {

class RecordingObserver final : public IEditObserver
{
public:
    void DatabaseEdited(const EditChange& change) override { changes.push_back(change); }
    std::vector<EditChange> changes;
};

class EditHistoryTest : public testing::Test
{
protected:
    EditHistoryTest() { BuildSampleDb(m_db); }

    // Sets ServiceId of program 0 to value: one recorded step each time.
    bool Edit(std::uint32_t value) { return m_history.Do(SetField(Prog, 0, "ServiceId", value)); }
    std::uint32_t ServiceId() const { return m_db.Progs().Find(0)->ServiceId(); }

    CProgDb m_db;
    CEditHistory m_history{m_db};
};

TEST_F(EditHistoryTest, AFreshHistoryIsUnmodifiedAndHasNothingToUndo)
{
    EXPECT_FALSE(m_history.IsModified());
    EXPECT_FALSE(m_history.CanUndo());
    EXPECT_FALSE(m_history.CanRedo());
    EXPECT_EQ(m_history.UndoName(), "");
    EXPECT_EQ(m_history.RedoName(), "");
    EXPECT_FALSE(m_history.Undo());
    EXPECT_FALSE(m_history.Redo());
    EXPECT_FALSE(m_history.Do(nullptr));
}

TEST_F(EditHistoryTest, UndoingBackToTheSavedPointIsUnmodifiedAgain)
{
    ASSERT_TRUE(Edit(100));
    ASSERT_TRUE(Edit(200));
    m_history.MarkSaved();
    EXPECT_FALSE(m_history.IsModified());
    ASSERT_TRUE(m_history.Undo());
    EXPECT_TRUE(m_history.IsModified());
    EXPECT_EQ(ServiceId(), 100u);
    ASSERT_TRUE(m_history.Redo());
    EXPECT_FALSE(m_history.IsModified());
    ASSERT_TRUE(Edit(300));
    EXPECT_TRUE(m_history.IsModified());
    ASSERT_TRUE(m_history.Undo());
    EXPECT_FALSE(m_history.IsModified());
    EXPECT_EQ(ServiceId(), 200u);
}

TEST_F(EditHistoryTest, ADroppedRedoBranchNeverLeadsBackToSaved)
{
    ASSERT_TRUE(Edit(100));
    ASSERT_TRUE(Edit(200));
    m_history.MarkSaved();
    ASSERT_TRUE(m_history.Undo());
    ASSERT_TRUE(m_history.Undo());
    ASSERT_TRUE(Edit(200)); // the same value, but on another branch
    EXPECT_FALSE(m_history.CanRedo());
    EXPECT_TRUE(m_history.IsModified());
    ASSERT_TRUE(m_history.Undo());
    EXPECT_TRUE(m_history.IsModified());
    ASSERT_TRUE(m_history.Redo());
    EXPECT_TRUE(m_history.IsModified());
    m_history.MarkSaved();
    EXPECT_FALSE(m_history.IsModified());
}

TEST_F(EditHistoryTest, ClearForgetsEveryEditAndCountsAsSaved)
{
    ASSERT_TRUE(Edit(100));
    ASSERT_TRUE(Edit(200));
    ASSERT_TRUE(m_history.Undo());
    m_history.Clear();
    EXPECT_FALSE(m_history.IsModified());
    EXPECT_FALSE(m_history.CanUndo());
    EXPECT_FALSE(m_history.CanRedo());
    EXPECT_EQ(ServiceId(), 100u); // the database stays as it is
}

TEST_F(EditHistoryTest, AFailedOrEmptyEditLeavesTheHistoryAsItWas)
{
    ASSERT_TRUE(Edit(100));
    ASSERT_TRUE(Edit(200));
    ASSERT_TRUE(m_history.Undo());
    m_history.MarkSaved();
    RecordingObserver observer;
    m_history.AddObserver(observer);
    EXPECT_FALSE(m_history.Do(DeleteNodes(Prog, {99})));
    EXPECT_FALSE(m_history.Do(SetField(Prog, 0, "ServiceId", 70000)));
    EXPECT_TRUE(m_history.Do(SetField(Prog, 0, "ServiceId", 100))); // what it is already
    EXPECT_TRUE(m_history.Do(MoveNodes(Prog, {0}, 1))); // where it is already
    EXPECT_TRUE(observer.changes.empty());
    EXPECT_EQ(m_history.UndoName(), "Edit ServiceId");
    EXPECT_EQ(m_history.RedoName(), "Edit ServiceId");
    EXPECT_FALSE(m_history.IsModified());
    ASSERT_TRUE(m_history.Redo());
    EXPECT_EQ(ServiceId(), 200u);
    m_history.RemoveObserver(observer);
}

TEST_F(EditHistoryTest, ObserversHearWhichListsChangedAndHow)
{
    RecordingObserver observer;
    m_history.AddObserver(observer);
    m_history.AddObserver(observer); // once only
    ASSERT_TRUE(m_history.Do(SetField(Tp, 3, "Frequency", 12345)));
    ASSERT_TRUE(m_history.Do(MoveNodes(Prog, {4}, 0)));
    ASSERT_TRUE(m_history.Do(DeleteNodes(Sat, {2})));
    ASSERT_TRUE(m_history.Do(AddNode(Prog, 0, InvalidId)));
    ASSERT_TRUE(m_history.Undo());
    ASSERT_TRUE(m_history.Do(SortNodes(Sat, {0, 1}, "Name", SortOrder::Descending)));
    m_history.RemoveObserver(observer);
    ASSERT_TRUE(m_history.Undo()); // heard by nobody

    struct Expected
    {
        ListChange sats, tps, progs;
        NodeType nodeKind;
        std::int32_t nodeId;
    };
    const Expected expected[] = {
        {ListChange::None, ListChange::Values, ListChange::None, Tp, 3},
        {ListChange::None, ListChange::None, ListChange::Moved, Sat, InvalidId},
        {ListChange::Rows, ListChange::Rows, ListChange::Rows, Sat, InvalidId},
        {ListChange::None, ListChange::None, ListChange::Rows, Prog, 12},
        {ListChange::None, ListChange::None, ListChange::Rows, Prog, 12}, // its undo
        {ListChange::Moved, ListChange::None, ListChange::None, Sat, InvalidId},
    };
    ASSERT_EQ(observer.changes.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const EditChange& change = observer.changes[i];
        EXPECT_EQ(change.sats, expected[i].sats);
        EXPECT_EQ(change.tps, expected[i].tps);
        EXPECT_EQ(change.progs, expected[i].progs);
        EXPECT_EQ(change.nodeId, expected[i].nodeId);
        if (change.nodeId != InvalidId) {
            EXPECT_EQ(change.nodeKind, expected[i].nodeKind);
        }
    }
    EXPECT_EQ(m_history.LastChange().sats, ListChange::Moved);
}

TEST_F(EditHistoryTest, ADeletedSatelliteTakesItsTranspondersAndProgramsAndGivesThemBack)
{
    ASSERT_TRUE(m_history.Do(DeleteNodes(Sat, {0})));
    EXPECT_EQ(Ids(m_db.Sats()), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(Ids(m_db.Tps()), (std::vector<std::int32_t>{1, 3, 4}));
    EXPECT_EQ(Ids(m_db.Progs()), (std::vector<std::int32_t>{1, 3, 6, 7, 8, 9, 11}));
    ASSERT_TRUE(m_history.Undo());
    EXPECT_EQ(Ids(m_db.Tps()), (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Ids(m_db.Progs()), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(m_db.Sats().Find(0)->Name(), "Astra");
}

TEST_F(EditHistoryTest, RedoOfAnAddGivesBackTheSameIdAndUndoNeverHandsItOutAgain)
{
    ASSERT_TRUE(m_history.Do(AddNode(Prog, 0, 3)));
    EXPECT_EQ(m_history.LastChange().nodeId, 12);
    ASSERT_TRUE(m_history.Undo());
    ASSERT_TRUE(m_history.Redo());
    EXPECT_EQ(m_history.LastChange().nodeId, 12);
    EXPECT_EQ(Ids(m_db.Progs()), (std::vector<std::int32_t>{0, 1, 2, 3, 12, 4, 5, 6, 7, 8, 9, 10, 11}));
    ASSERT_TRUE(m_history.Undo());
    ASSERT_TRUE(m_history.Do(AddNode(Prog, 0, InvalidId)));
    EXPECT_EQ(m_history.LastChange().nodeId, 13);
    EXPECT_EQ(m_db.Progs().Find(13)->ProgName(), "New Program");
    EXPECT_EQ(m_db.Progs().Find(12), nullptr);
}

TEST_F(EditHistoryTest, NewNodesGetTheirDefaults)
{
    ASSERT_TRUE(m_history.Do(AddNode(Sat, InvalidId, InvalidId)));
    const CSatNode& sat = *m_db.Sats().Find(m_history.LastChange().nodeId);
    EXPECT_EQ(sat.Name(), "New Satellite");
    EXPECT_EQ(sat.LocalFre1(), 3u); // 9750 MHz
    EXPECT_EQ(sat.LocalFre2(), 5u); // 10600 MHz
    EXPECT_EQ(sat.Longitude(), 0u);
    EXPECT_EQ(sat.Select(), 0);
    ASSERT_TRUE(m_history.Do(AddNode(Tp, sat.Id(), InvalidId)));
    const CTpNode& tp = *m_db.Tps().Find(m_history.LastChange().nodeId);
    EXPECT_EQ(tp.ParentId(), sat.Id());
    EXPECT_EQ(tp.TpRecord(), 0u);
    ASSERT_TRUE(m_history.Do(AddNode(Prog, tp.Id(), InvalidId)));
    const CProgNode& prog = *m_db.Progs().Find(m_history.LastChange().nodeId);
    EXPECT_EQ(prog.ParentId(), tp.Id());
    ProgRecord expected;
    expected.SetString(ProgField::kNameOffset, ProgField::kNameSize, "New Program");
    EXPECT_EQ(prog.Record(), expected);
}

TEST_F(EditHistoryTest, ChangesMadeBehindItsBackStopUndoAndRedo)
{
    ASSERT_TRUE(Edit(100));
    ASSERT_TRUE(Edit(200));
    ASSERT_TRUE(m_history.Undo());
    AddProg(m_db, 0, "outside", 1); // as an import into the same database would
    EXPECT_FALSE(m_history.CanUndo());
    EXPECT_FALSE(m_history.CanRedo());
    EXPECT_EQ(m_history.UndoName(), "");
    EXPECT_FALSE(m_history.Undo());
    EXPECT_FALSE(m_history.Redo());
    EXPECT_EQ(ServiceId(), 100u);
    // The next edit starts afresh; with the saved point unknown the database counts as modified.
    ASSERT_TRUE(Edit(300));
    EXPECT_TRUE(m_history.IsModified());
    ASSERT_TRUE(m_history.Undo());
    EXPECT_EQ(ServiceId(), 100u);
    EXPECT_FALSE(m_history.CanUndo());
    EXPECT_TRUE(m_history.IsModified());
}

TEST_F(EditHistoryTest, SharedReceiverIdsKeepTheChildrenWhileOneParentCarriesTheirId)
{
    // As after a flash reader: satellites "hotbird" and the third one both carry id 1.
    m_db.Sats().SetNodeId(*m_db.Sats().Find(2), 1);
    m_db.Tps().Find(3)->SetParentId(1);
    const auto satNames = [this] {
        std::vector<std::string> names;
        for (const CSatNode& sat : m_db.Sats()) {
            names.push_back(sat.Name());
        }
        return names;
    };
    ASSERT_TRUE(m_history.Do(DeleteNodes(Sat, {1})));
    EXPECT_EQ(satNames(), (std::vector<std::string>{"Astra", "\xC9z\xE9"}));
    EXPECT_EQ(Ids(m_db.Tps()), (std::vector<std::int32_t>{0, 1, 2, 3, 4})); // id 1 is still carried
    ASSERT_TRUE(m_history.Do(DeleteNodes(Sat, {1})));
    EXPECT_EQ(satNames(), (std::vector<std::string>{"Astra"}));
    EXPECT_EQ(Ids(m_db.Tps()), (std::vector<std::int32_t>{0, 2}));
    EXPECT_EQ(Ids(m_db.Progs()), (std::vector<std::int32_t>{0, 2, 4, 5, 10}));
    ASSERT_TRUE(m_history.Undo());
    ASSERT_TRUE(m_history.Undo());
    EXPECT_EQ(satNames(), (std::vector<std::string>{"Astra", "hotbird", "\xC9z\xE9"}));
    EXPECT_EQ(Ids(m_db.Sats()), (std::vector<std::int32_t>{0, 1, 1}));
    EXPECT_EQ(Ids(m_db.Progs()), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    // Two rows with the shared id select both nodes in one edit.
    ASSERT_TRUE(m_history.Do(DeleteNodes(Sat, {1, 1})));
    EXPECT_EQ(m_history.UndoName(), "Delete 2 Satellites");
    EXPECT_EQ(satNames(), (std::vector<std::string>{"Astra"}));
    EXPECT_EQ(Ids(m_db.Tps()), (std::vector<std::int32_t>{0, 2}));
    EXPECT_FALSE(m_history.Do(DeleteNodes(Sat, {0, 0})));
}

TEST_F(EditHistoryTest, NamesCountTheSelection)
{
    const struct
    {
        std::unique_ptr<IEdit> edit;
        const char* name;
    } cases[] = {
        {DeleteNodes(Prog, {1}), "Delete Program"},
        {DeleteNodes(Prog, {2, 3, 4}), "Delete 3 Programs"},
        {DeleteNodes(Tp, {4}), "Delete Transponder"},
        {MoveNodes(Tp, {0, 1}, InvalidId), "Move 2 Transponders"},
        {MoveNodes(Sat, {2}, 0), "Move Satellite"},
        {SetField(Sat, 0, "Switch12V", 1), "Edit Switch12V"},
        {AddNode(Tp, 0, InvalidId), "New Transponder"},
        {SortNodes(Tp, {0, 1, 2}, "Polar", SortOrder::Descending), "Sort Transponders"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        IEdit& edit = *c.edit;
        ASSERT_TRUE(edit.Apply(m_db));
        EXPECT_EQ(edit.Name(), c.name);
    }
}

} // namespace

} // namespace core
