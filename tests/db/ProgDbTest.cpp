#include "db/CProgDb.h"

#include <gtest/gtest.h>

namespace core {

namespace {

std::int32_t AddSat(CProgDb& db)
{
    return db.Sats().Add(std::make_unique<CSatNode>());
}
std::int32_t AddTp(CProgDb& db, std::int32_t sat)
{
    return db.Tps().Add(std::make_unique<CTpNode>(InvalidId, sat));
}
std::int32_t AddProg(CProgDb& db, std::int32_t tp)
{
    return db.Progs().Add(std::make_unique<CProgNode>(InvalidId, tp));
}

template <class TNode>
std::vector<std::int32_t> Ids(const CNodeList<TNode>& list)
{
    std::vector<std::int32_t> ids;
    for (const TNode& node : list) {
        ids.push_back(node.Id());
    }
    return ids;
}

TEST(ProgDb, DeletingASatelliteCascadesToItsTranspondersAndPrograms)
{
    CProgDb db;
    const std::int32_t a = AddSat(db);
    const std::int32_t b = AddSat(db);
    for (int t = 0; t < 2; ++t) {
        const std::int32_t otherTp = AddTp(db, b);
        const std::int32_t tp = AddTp(db, a);
        for (int p = 0; p < 3; ++p) {
            AddProg(db, tp);
            AddProg(db, otherTp);
        }
    }
    ASSERT_TRUE(db.Sats().Delete(a));
    db.RemoveSatelliteDependants({a});
    EXPECT_EQ(Ids(db.Sats()), (std::vector<std::int32_t>{b}));
    EXPECT_EQ(Ids(db.Tps()), (std::vector<std::int32_t>{0, 2}));
    EXPECT_EQ(Ids(db.Progs()), (std::vector<std::int32_t>{1, 3, 5, 7, 9, 11}));
    for (const CProgNode& prog : db.Progs()) {
        EXPECT_TRUE(prog.ParentId() == 0 || prog.ParentId() == 2);
    }
}

TEST(ProgDb, DeletingATransponderRemovesOnlyItsPrograms)
{
    CProgDb db;
    const std::int32_t sat = AddSat(db);
    const std::int32_t tp0 = AddTp(db, sat);
    const std::int32_t tp1 = AddTp(db, sat);
    AddProg(db, tp0);
    AddProg(db, tp1);
    AddProg(db, tp0);
    ASSERT_TRUE(db.Tps().Delete(tp0));
    db.RemoveTransponderDependants({tp0});
    EXPECT_EQ(Ids(db.Progs()), (std::vector<std::int32_t>{1}));
    EXPECT_EQ(Ids(db.Tps()), (std::vector<std::int32_t>{tp1}));
}

TEST(ProgDb, IsEmptyAndClear)
{
    CProgDb db;
    EXPECT_TRUE(db.IsEmpty());
    AddProg(db, InvalidId);
    EXPECT_FALSE(db.IsEmpty()); // only the program list holds a node
    AddSat(db);
    AddTp(db, 0);
    db.Clear();
    EXPECT_TRUE(db.IsEmpty());
    EXPECT_EQ(db.Sats().LastId(), InvalidId);
    EXPECT_EQ(AddProg(db, InvalidId), 0);
}

} // namespace

} // namespace core
