// Sequences of edits, each checked after do, undo and redo against the plain model of the lists.
#include "DbModel.h"
#include "EditFixtures.h"
#include "EditOp.h"
#include "common/CodePage.h"
#include "edit/CEditHistory.h"
#include "edit/FieldTable.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace core {

namespace {

enum class Outcome { Done, Unchanged, Refused };

struct Step
{
    EditOp op;
    Outcome outcome;
    std::string name; // what the history names a step done
};

Step Done(EditOp op, std::string name)
{
    return {std::move(op), Outcome::Done, std::move(name)};
}
Step Unchanged(EditOp op)
{
    return {std::move(op), Outcome::Unchanged, {}};
}
Step Refused(EditOp op)
{
    return {std::move(op), Outcome::Refused, {}};
}

// The lists as the model says, the id counters as expected, and no orphan.
void ExpectDb(const CProgDb& db, const DbModel& expected)
{
    const DbModel actual = Snapshot(db);
    EXPECT_TRUE(actual.SameLists(expected))
        << testing::PrintToString(actual) << "\nexpected" << testing::PrintToString(expected);
    EXPECT_EQ(actual.lastIds, expected.lastIds);
    EXPECT_EQ(Orphans(db), "");
}

// Does the step, checks it, undoes it, checks, redoes it and checks again.
void CheckStep(CProgDb& db, CEditHistory& history, const Step& step)
{
    SCOPED_TRACE(testing::PrintToString(step.op));
    const DbModel before = Snapshot(db);
    DbModel after = before;
    const bool modelApplies = step.op.ApplyTo(after);
    const std::string undoName = history.UndoName();
    const std::string redoName = history.RedoName();
    const bool modified = history.IsModified();

    const bool done = history.Do(step.op.MakeEdit());
    EXPECT_EQ(done, step.outcome != Outcome::Refused);
    EXPECT_EQ(modelApplies, step.outcome != Outcome::Refused) << "the model disagrees with the table";
    if (step.outcome != Outcome::Done) {
        ExpectDb(db, before);
        EXPECT_EQ(history.UndoName(), undoName);
        EXPECT_EQ(history.RedoName(), redoName);
        EXPECT_EQ(history.IsModified(), modified);
        if (step.outcome == Outcome::Unchanged) {
            EXPECT_TRUE(after.SameLists(before)) << "the model changed what the table calls unchanged";
        }
        return;
    }
    EXPECT_FALSE(after.SameLists(before)) << "the model left unchanged what the table calls done";
    ExpectDb(db, after);
    EXPECT_EQ(history.UndoName(), step.name);
    EXPECT_EQ(history.RedoName(), "");
    EXPECT_TRUE(history.IsModified());

    ASSERT_TRUE(history.Undo());
    DbModel undone = before;
    undone.lastIds = after.lastIds; // ids are not handed out again
    ExpectDb(db, undone);
    EXPECT_EQ(history.RedoName(), step.name);
    EXPECT_EQ(history.UndoName(), undoName);

    ASSERT_TRUE(history.Redo());
    ExpectDb(db, after);
    EXPECT_EQ(history.UndoName(), step.name);
}

struct SequenceCase
{
    const char* name;
    std::vector<Step> steps;
};

void PrintTo(const SequenceCase& c, std::ostream* out)
{
    *out << c.name;
}

const std::vector<std::int32_t> kAllProgs{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

std::vector<SequenceCase> SequenceCases()
{
    return {
        {"DeletePrograms",
         {Done(DeleteOp(Prog, {3, 5, 7}), "Delete 3 Programs"),
          Done(DeleteOp(Prog, {0}), "Delete Program"),
          Done(DeleteOp(Prog, {11, 1}), "Delete 2 Programs")}},
        {"DeleteCascades",
         {Done(DeleteOp(Sat, {0}), "Delete Satellite"),
          Done(DeleteOp(Tp, {1}), "Delete Transponder"),
          Done(DeleteOp(Sat, {1, 2}), "Delete 2 Satellites")}},
        {"DeleteTranspondersThenAll",
         {Done(DeleteOp(Tp, {2, 3}), "Delete 2 Transponders"), Done(DeleteOp(Sat, {2, 1, 0}), "Delete 3 Satellites")}},
        {"Refusals",
         {Refused(DeleteOp(Prog, {})),
          Refused(DeleteOp(Prog, {99})),
          Refused(DeleteOp(Prog, {1, 99})),
          Refused(DeleteOp(Prog, {1, 1})),
          Refused(DeleteOp(Sat, {3})),
          Refused(MoveOp(Prog, {}, InvalidId)),
          Refused(MoveOp(Prog, {1}, 99)),
          Refused(MoveOp(Tp, {9}, 0)),
          Refused(SetOp(Prog, 1, "NoSuchField", 0)),
          Refused(SetOp(Prog, 1, "ServiceId", 65536)),
          Refused(SetOp(Prog, 1, "ProgName", 0)),
          Refused(SetOp(Prog, 1, "SatRef", 0)),
          Refused(SetOp(Prog, 99, "ServiceId", 1)),
          Refused(SetOp(Tp, 0, "Polar", 2)),
          Refused(SetOp(Sat, 0, "Longitude", 2048)),
          Refused(RenameOp(Tp, 0, "x")),
          Refused(RenameOp(Sat, 0, std::string(17, 'n'))),
          Refused(RenameOp(Prog, 0, std::string(42, 'n'))),
          Refused(RenameOp(Prog, 0, std::string("a\0b", 3))),
          Refused(RenameOp(Prog, 99, "x")),
          Refused(AddOp(Tp, 99, InvalidId)),
          Refused(AddOp(Prog, 0, 99)),
          Refused(AddOp(Prog, 7, InvalidId)),
          Refused(AddOp(Sat, 0, InvalidId)),
          Refused(SortOp(Prog, {}, "ServiceId", SortOrder::Ascending)),
          Refused(SortOp(Prog, {1, 2}, "NoSuchField", SortOrder::Ascending)),
          Refused(SortOp(Prog, {1, 99}, "ServiceId", SortOrder::Ascending))}},
        {"Moves",
         {Done(MoveOp(Prog, {5}, 0), "Move Program"),
          Done(MoveOp(Prog, {1, 3}, 8), "Move 2 Programs"),
          Done(MoveOp(Prog, {8, 2}, InvalidId), "Move 2 Programs"), // given out of order, moved in list order
          Done(MoveOp(Tp, {4}, 0), "Move Transponder"),
          Done(MoveOp(Sat, {2}, 0), "Move Satellite"),
          Done(MoveOp(Sat, {0, 1}, 2), "Move 2 Satellites")}},
        {"MovesOntoThemselves",
         {Unchanged(MoveOp(Prog, {4}, 4)),
          Unchanged(MoveOp(Prog, {4}, 5)),
          Unchanged(MoveOp(Prog, {4, 5}, 5)),
          Unchanged(MoveOp(Prog, {4, 5}, 6)),
          Unchanged(MoveOp(Prog, {11}, InvalidId)),
          Unchanged(MoveOp(Prog, {0, 1}, 0)),
          Done(MoveOp(Prog, {3, 5}, 4), "Move 2 Programs"),
          Done(MoveOp(Prog, {2, 6}, 2), "Move 2 Programs")}}, // the block gathers before the node after 2
        {"Values",
         {Done(SetOp(Prog, 3, "ServiceId", 777), "Edit ServiceId"),
          Unchanged(SetOp(Prog, 3, "ServiceId", 777)),
          Done(SetOp(Sat, 1, "LocalFre1", 15), "Edit LocalFre1"),
          Done(SetOp(Sat, 1, "Longitude", 2047), "Edit Longitude"),
          Done(SetOp(Tp, 2, "Polar", 1), "Edit Polar"),
          Done(SetOp(Tp, 2, "SymbolRate", 65535), "Edit SymbolRate"),
          Done(SetOp(Prog, 0, "FavType", 0xFFFFFFFFu), "Edit FavType"),
          Done(SetOp(Prog, 0, "Skip", 1), "Edit Skip"),
          Done(RenameOp(Sat, 0, std::string(16, 'S')), "Rename Satellite"),
          Done(RenameOp(Prog, 5, std::string(41, 'P')), "Rename Program"),
          Unchanged(RenameOp(Prog, 5, std::string(41, 'P'))),
          Done(RenameOp(Prog, 5, ""), "Rename Program")}},
        {"Adds",
         {Done(AddOp(Sat, InvalidId, InvalidId), "New Satellite"),
          Done(AddOp(Sat, InvalidId, 0), "New Satellite"),
          Done(AddOp(Tp, 2, 0), "New Transponder"),
          Done(AddOp(Prog, 4, InvalidId), "New Program"),
          Done(AddOp(Prog, 1, 6), "New Program"),
          Done(AddOp(Tp, 3, InvalidId), "New Transponder"), // transponder 6 on the new satellite 3
          Done(AddOp(Prog, 6, 0), "New Program"),
          Done(SetOp(Prog, 14, "ServiceId", 42), "Edit ServiceId"),
          Done(DeleteOp(Sat, {3}), "Delete Satellite")}},
        {"Sorts",
         {Done(SortOp(Prog, kAllProgs, "ProgName", SortOrder::Ascending), "Sort Programs"),
          Done(SortOp(Prog, {0, 2, 4}, "ServiceId", SortOrder::Descending), "Sort Programs"),
          Done(SortOp(Sat, {0, 1, 2}, "Name", SortOrder::Descending), "Sort Satellites"),
          Done(SortOp(Tp, {4, 0, 2}, "Frequency", SortOrder::Ascending), "Sort Transponders"),
          Done(SortOp(Prog, kAllProgs, "Id", SortOrder::Ascending), "Sort Programs"),
          Unchanged(SortOp(Prog, kAllProgs, "Id", SortOrder::Ascending)),
          Done(SortOp(Prog, kAllProgs, "ParentId", SortOrder::Descending), "Sort Programs"),
          Done(SortOp(Prog, kAllProgs, "FavType", SortOrder::Ascending), "Sort Programs"),
          Done(SortOp(Sat, {0, 1, 2}, "LocalFre1", SortOrder::Ascending), "Sort Satellites"),
          Unchanged(SortOp(Prog, {3, 7, 11}, "ProgName", SortOrder::Descending)), // \xE9clair, \xE9cho, Zulu
          Done(SortOp(Prog, {3, 7, 11}, "ProgName", SortOrder::Ascending), "Sort Programs")}},
        {"Duplicates",
         {Done(DedupeOp(), "Remove 4 Duplicate Programs"),
          Unchanged(DedupeOp()),
          Done(SetOp(Prog, 8, "ServiceId", 1), "Edit ServiceId"), // now a second 1 on satellite 1's 11000 H
          Done(DedupeOp(), "Remove Duplicate Program")}},
    };
}

class EditSequence : public testing::TestWithParam<SequenceCase>
{
protected:
    const ScopedCodePage m_latin1{"ISO-8859-1"};
};

TEST_P(EditSequence, EachStepDoesUndoesAndRedoesExactly)
{
    ASSERT_TRUE(m_latin1.Installed());
    CProgDb db;
    BuildSampleDb(db);
    CEditHistory history(db);
    for (const Step& step : GetParam().steps) {
        CheckStep(db, history, step);
    }
}

INSTANTIATE_TEST_SUITE_P(Table,
                         EditSequence,
                         testing::ValuesIn(SequenceCases()),
                         [](const testing::TestParamInfo<SequenceCase>& param) {
                             return std::string(param.param.name);
                         });

// Random operations on a random database, with undo, redo and saves mixed in.
class RandomEdits
{
public:
    RandomEdits(unsigned seed, bool sharedIds)
        : m_random(seed)
    {
        BuildRandomDb(m_db, m_random, sharedIds);
        m_history.Clear(); // as after a file open
        m_states.push_back(Snapshot(m_db));
        m_counters = m_states.back().lastIds;
    }

    void Run(int steps)
    {
        for (int step = 0; step < steps && !testing::Test::HasFatalFailure(); ++step) {
            SCOPED_TRACE(testing::Message() << "step " << step);
            const unsigned choice = m_random() % 20;
            if (choice < 4) {
                UndoOrRedo(choice < 3);
            } else if (choice == 4) {
                m_history.MarkSaved();
                m_saved = m_done;
            } else {
                DoOne(RandomOp());
            }
            Check();
        }
    }

private:
    void UndoOrRedo(bool undo)
    {
        if (undo) {
            ASSERT_EQ(m_history.Undo(), m_done > 0);
            m_done -= m_done > 0 ? 1 : 0;
        } else {
            ASSERT_EQ(m_history.Redo(), m_done + 1 < m_states.size());
            m_done += m_done + 1 < m_states.size() ? 1 : 0;
        }
    }

    void DoOne(const EditOp& op)
    {
        SCOPED_TRACE(testing::PrintToString(op));
        DbModel after = m_states[m_done];
        after.lastIds = m_counters;
        const bool applies = op.ApplyTo(after);
        ASSERT_EQ(m_history.Do(op.MakeEdit()), applies);
        if (!applies || after.SameLists(m_states[m_done])) {
            return;
        }
        m_counters = after.lastIds;
        m_states.resize(m_done + 1);
        m_states.push_back(after);
        if (m_saved && *m_saved > m_done) {
            m_saved.reset();
        }
        ++m_done;
    }

    void Check()
    {
        DbModel expected = m_states[m_done];
        expected.lastIds = m_counters;
        ExpectDb(m_db, expected);
        EXPECT_EQ(m_history.CanUndo(), m_done > 0);
        EXPECT_EQ(m_history.CanRedo(), m_done + 1 < m_states.size());
        EXPECT_EQ(m_history.IsModified(), !m_saved || *m_saved != m_done);
    }

    template <class T>
    const T& Pick(const std::vector<T>& values)
    {
        return values[m_random() % values.size()];
    }

    // An id of the kind: mostly one that exists, now and then one that does not.
    std::int32_t SomeId(NodeType kind)
    {
        const std::vector<ModelRow>& rows = m_states[m_done].Of(kind);
        if (rows.empty() || m_random() % 16 == 0) {
            return static_cast<std::int32_t>(m_random() % 64);
        }
        return Pick(rows).id;
    }

    // A selection of every row now and then, else of about one row in two to five.
    std::vector<std::int32_t> SomeIds(NodeType kind)
    {
        const std::vector<ModelRow>& rows = m_states[m_done].Of(kind);
        std::vector<std::int32_t> ids;
        const unsigned share = m_random() % 5; // 0: every row
        for (const ModelRow& row : rows) {
            if (share == 0 || m_random() % (share + 1) == 0) {
                ids.push_back(row.id);
            }
        }
        std::shuffle(ids.begin(), ids.end(), m_random);
        if (m_random() % 20 == 0) {
            ids.push_back(SomeId(kind));
        }
        return ids;
    }

    // Up to four ids, scattered or a run of neighbouring rows, so that deletes do not empty the
    // database too soon.
    std::vector<std::int32_t> FewIds(NodeType kind)
    {
        const std::vector<ModelRow>& rows = m_states[m_done].Of(kind);
        std::vector<std::int32_t> ids(m_random() % 5);
        if (m_random() % 2 == 0 || rows.size() < ids.size()) {
            for (std::int32_t& id : ids) {
                id = SomeId(kind);
            }
            return ids;
        }
        const std::size_t first = m_random() % (rows.size() - ids.size() + 1);
        for (std::size_t i = 0; i < ids.size(); ++i) {
            ids[i] = rows[first + i].id;
        }
        std::shuffle(ids.begin(), ids.end(), m_random);
        return ids;
    }

    std::string SomeKey(NodeType kind)
    {
        std::vector<std::string> keys{"Id", "ParentId"};
        for (const FieldInfo& field : EditableFields(kind)) {
            keys.emplace_back(field.name);
        }
        return Pick(keys);
    }

    EditOp RandomOp()
    {
        const auto kind = static_cast<NodeType>(m_random() % 3);
        switch (m_random() % 9) {
        case 0: {
            // Mostly programs: a satellite's delete takes a quarter of the database with it.
            const unsigned which = m_random() % 10;
            const NodeType deleted = which < 7 ? Prog : (which < 9 ? Tp : Sat);
            return DeleteOp(deleted, FewIds(deleted));
        }
        case 1:
            return MoveOp(kind, SomeIds(kind), m_random() % 4 == 0 ? InvalidId : SomeId(kind));
        case 2: {
            const std::span<const FieldInfo> fields = EditableFields(kind);
            const FieldInfo& field = fields[m_random() % fields.size()];
            const std::uint32_t value = m_random() % 10 == 0 ? field.MaxValue() + 1 : m_random() & field.MaxValue();
            return SetOp(kind, SomeId(kind), std::string(field.name), value);
        }
        case 3: {
            std::string name(m_random() % 46, 'a'); // lengths on both sides of 16 and 41
            if (name.size() > 1) {
                name[0] = 'Z';
                name[1] = m_random() % 16 == 0 ? '\0' : 'b';
            }
            return RenameOp(kind, SomeId(kind), name);
        }
        case 4: {
            const std::int32_t parent = kind == Sat ? InvalidId : SomeId(kind == Tp ? Sat : Tp);
            return AddOp(kind, parent, m_random() % 3 == 0 ? InvalidId : SomeId(kind));
        }
        case 5:
        case 6:
        case 7:
            return SortOp(
                kind, SomeIds(kind), SomeKey(kind), m_random() % 2 == 0 ? SortOrder::Ascending : SortOrder::Descending);
        default:
            return DedupeOp();
        }
    }

    std::mt19937 m_random;
    CProgDb m_db;
    CEditHistory m_history{m_db};
    std::vector<DbModel> m_states; // every state the history can reach; m_states[m_done] is now
    std::size_t m_done = 0;
    std::array<std::int32_t, 3> m_counters{};
    std::optional<std::size_t> m_saved = 0;
};

struct RandomCase
{
    unsigned seed;
    bool sharedIds;
};

class RandomEditSequence : public testing::TestWithParam<RandomCase>
{
protected:
    const ScopedCodePage m_latin1{"ISO-8859-1"};
};

TEST_P(RandomEditSequence, MatchesTheModelAfterEveryStep)
{
    ASSERT_TRUE(m_latin1.Installed());
    RandomEdits edits(GetParam().seed, GetParam().sharedIds);
    edits.Run(400);
}

INSTANTIATE_TEST_SUITE_P(Seeds,
                         RandomEditSequence,
                         testing::Values(RandomCase{1, false},
                                         RandomCase{2, false},
                                         RandomCase{3, false},
                                         RandomCase{4, true},
                                         RandomCase{5, true}),
                         [](const testing::TestParamInfo<RandomCase>& param) {
                             return "Seed" + std::to_string(param.param.seed)
                                 + (param.param.sharedIds ? "SharedIds" : "");
                         });

} // namespace

} // namespace core
