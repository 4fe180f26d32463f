#include "edit/OrderLike.h"
#include "EditFixtures.h"
#include "edit/CEditHistory.h"

#include <gtest/gtest.h>

#include <map>

namespace core {

namespace {

constexpr std::uint32_t kExtraFlag = 0x80000000u;

struct ProgSpec
{
    const char* sat;
    std::uint32_t tpWord;
    std::uint32_t serviceId;
    const char* name;
};

// One satellite per name and one transponder per (satellite, word), in order of appearance.
void Build(CProgDb& db, const std::vector<ProgSpec>& progs)
{
    std::map<std::string, std::int32_t> sats;
    std::map<std::pair<std::int32_t, std::uint32_t>, std::int32_t> tps;
    for (const ProgSpec& prog : progs) {
        const auto sat = sats.try_emplace(prog.sat, InvalidId).first;
        if (sat->second == InvalidId) {
            sat->second = AddSat(db, prog.sat);
        }
        const auto tp = tps.try_emplace({sat->second, prog.tpWord}, InvalidId).first;
        if (tp->second == InvalidId) {
            tp->second = AddTp(db, sat->second, 0);
            db.Tps().Find(tp->second)->SetTpRecord(prog.tpWord);
        }
        AddProg(db, tp->second, prog.name, prog.serviceId);
    }
}

TEST(OrderLike, PutsTheProgramsInTheReferenceOrder)
{
    const struct
    {
        const char* name;
        std::vector<ProgSpec> db;
        std::vector<ProgSpec> reference;
        std::vector<std::int32_t> order;
        std::size_t matched;
    } cases[] = {
        {"reversed",
         {{"A", 1, 1, "a"}, {"A", 1, 2, "b"}, {"A", 1, 3, "c"}},
         {{"A", 1, 3, "c"}, {"A", 1, 2, "b"}, {"A", 1, 1, "a"}},
         {2, 1, 0},
         3},
        {"unmatched keep their order after the matched",
         {{"A", 1, 1, "a"}, {"A", 1, 9, "x"}, {"A", 1, 2, "b"}, {"A", 1, 8, "y"}},
         {{"A", 1, 2, "b"}, {"A", 1, 1, "a"}},
         {2, 0, 1, 3},
         2},
        {"then by name when the ServiceId differs",
         {{"A", 1, 5, "News"}, {"A", 1, 6, "Sport"}},
         {{"A", 1, 60, "Sport"}, {"A", 1, 50, "News"}},
         {1, 0},
         2},
        {"the satellite name must agree",
         {{"Astra", 1, 1, "a"}, {"Astra", 1, 2, "b"}},
         {{"Hotbird", 1, 2, "b"}, {"Hotbird", 1, 1, "a"}},
         {0, 1},
         0},
        {"ExtraFlag is ignored",
         {{"A", 1, 1, "a"}, {"A", 1, 2, "b"}},
         {{"A", 1 | kExtraFlag, 2, "x"}, {"A", 1 | kExtraFlag, 1, "y"}},
         {1, 0},
         2},
        {"another transponder is another service",
         {{"A", 1, 1, "a"}, {"A", 1, 2, "b"}},
         {{"A", 2, 2, "x"}, {"A", 2, 1, "y"}},
         {0, 1},
         0},
        {"a reference program matches once",
         {{"A", 1, 1, "a"}, {"A", 1, 1, "a"}, {"A", 1, 2, "b"}},
         {{"A", 1, 2, "b"}, {"A", 1, 1, "a"}},
         {2, 0, 1},
         2},
        {"ServiceId matches come before name matches",
         {{"A", 1, 1, "Same"}, {"A", 1, 2, "Same"}},
         {{"A", 1, 2, "Same"}, {"A", 1, 1, "Other"}},
         {1, 0},
         2},
        {"an empty reference", {{"A", 1, 1, "a"}}, {}, {0}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CProgDb db;
        Build(db, c.db);
        const std::vector<std::int32_t> before = Ids(db.Progs());
        CEditHistory history(db);
        OrderLikeCounts counts;
        {
            CProgDb reference; // gone before the undo and the redo
            Build(reference, c.reference);
            ASSERT_TRUE(history.Do(OrderLike(reference, &counts)));
        }
        EXPECT_EQ(counts.matched, c.matched);
        EXPECT_EQ(counts.programs, c.db.size());
        EXPECT_EQ(Ids(db.Progs()), c.order);
        if (c.order == before) {
            EXPECT_FALSE(history.CanUndo());
            continue;
        }
        EXPECT_EQ(history.UndoName(), "Order Like Reference");
        ASSERT_TRUE(history.Undo());
        EXPECT_EQ(Ids(db.Progs()), before);
        ASSERT_TRUE(history.Redo());
        EXPECT_EQ(Ids(db.Progs()), c.order);
    }
}

TEST(OrderLike, ProgramsWithoutTransponderOrSatelliteMatchNothing)
{
    CProgDb db;
    Build(db, {{"A", 1, 1, "a"}, {"A", 1, 2, "b"}});
    AddProg(db, 42, "b", 2); // no transponder 42
    CProgDb reference;
    Build(reference, {{"A", 1, 2, "b"}, {"A", 1, 1, "a"}});
    AddProg(reference, 42, "a", 1);
    OrderLikeCounts counts;
    CEditHistory history(db);
    ASSERT_TRUE(history.Do(OrderLike(reference, &counts)));
    EXPECT_EQ(counts.matched, 2u);
    EXPECT_EQ(counts.programs, 3u);
    EXPECT_EQ(Ids(db.Progs()), (std::vector<std::int32_t>{1, 0, 2}));
}

} // namespace

} // namespace core
