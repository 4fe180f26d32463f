#include "db/CProgDb.h"

#include <gtest/gtest.h>

#include <vector>

namespace core {

namespace {

// The ids of a list, in list order.
template <class TNode>
std::vector<std::int32_t> Ids(const CNodeList<TNode>& list)
{
    std::vector<std::int32_t> ids;
    for (const TNode& node : list) {
        ids.push_back(node.Id());
    }
    return ids;
}

CNodeList<CTpNode>& FillTps(CNodeList<CTpNode>& list, int count, std::int32_t parent = InvalidId)
{
    for (int i = 0; i < count; ++i) {
        list.Add(std::make_unique<CTpNode>(InvalidId, parent));
    }
    return list;
}

TEST(NodeList, IdsAreHandedOutInOrderAndNotReusedUntilClear)
{
    CNodeList<CTpNode> list;
    EXPECT_EQ(list.Add(std::make_unique<CTpNode>(77, InvalidId)), 0);
    EXPECT_EQ(list.Add(std::make_unique<CTpNode>()), 1);
    EXPECT_EQ(list.Add(std::make_unique<CTpNode>()), 2);
    EXPECT_TRUE(list.Delete(1));
    EXPECT_EQ(list.Add(std::make_unique<CTpNode>()), 3);
    EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{0, 2, 3}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.Add(std::make_unique<CTpNode>()), 0);
}

TEST(NodeList, FindAndDeleteOfAbsentIds)
{
    CNodeList<CTpNode> list;
    EXPECT_EQ(list.Find(0), nullptr);
    FillTps(list, 2);
    EXPECT_FALSE(list.Delete(5));
    EXPECT_EQ(list.LastId(), 1);
    EXPECT_EQ(list.Count(), 2u);
    ASSERT_NE(list.Find(1), nullptr);
    EXPECT_EQ(list.Find(1)->Id(), 1);
}

struct MoveCase
{
    std::int32_t source;
    std::int32_t target;
    bool result;
    std::vector<std::int32_t> order;
};

TEST(NodeList, MovePutsTheSourceDirectlyBeforeTheTarget)
{
    const MoveCase cases[] = {
        {4, 1, true, {0, 4, 1, 2, 3, 5}}, // later onto earlier
        {1, 4, true, {0, 2, 3, 1, 4, 5}}, // earlier onto later
        {5, 0, true, {5, 0, 1, 2, 3, 4}}, // onto the first node
        {0, 5, true, {1, 2, 3, 4, 0, 5}}, // never behind the last node
        {3, 3, true, {0, 1, 2, 3, 4, 5}}, // onto itself
        {9, 1, false, {0, 1, 2, 3, 4, 5}},
        {1, 9, false, {0, 1, 2, 3, 4, 5}},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source << " onto " << c.target);
        CNodeList<CTpNode> list;
        FillTps(list, 6);
        EXPECT_EQ(list.Move(c.source, c.target), c.result);
        EXPECT_EQ(Ids(list), c.order);
        for (std::int32_t id : c.order) {
            ASSERT_NE(list.Find(id), nullptr);
            EXPECT_EQ(list.Find(id)->Id(), id);
        }
    }
}

TEST(NodeList, RemoveByParentAndCountByParent)
{
    CNodeList<CTpNode> list;
    list.Add(std::make_unique<CTpNode>(InvalidId, 1));
    list.Add(std::make_unique<CTpNode>(InvalidId, InvalidId));
    list.Add(std::make_unique<CTpNode>(InvalidId, 2));
    list.Add(std::make_unique<CTpNode>(InvalidId, InvalidId));
    list.Add(std::make_unique<CTpNode>(InvalidId, 1));
    EXPECT_EQ(list.CountByParent(1), 2u);
    EXPECT_EQ(list.CountByParent(InvalidId), 2u);
    list.RemoveByParent(InvalidId); // every node that was never attached
    EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{0, 2, 4}));
    list.RemoveByParent(1);
    EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{2}));
    EXPECT_EQ(list.Find(0), nullptr);
}

TEST(NodeList, SharedIdsFindTheFirstNodeInListOrder)
{
    CNodeList<CTpNode> list;
    FillTps(list, 4);
    // A flash reader gives nodes 1 and 3 the same receiver id.
    list.SetNodeId(*list.Find(1), 7);
    list.SetNodeId(*list.Find(3), 7);
    list.Find(1);
    ASSERT_NE(list.Find(7), nullptr);
    EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{0, 7, 2, 7}));
    const CTpNode* second = nullptr;
    for (const CTpNode& tp : list) {
        if (tp.Id() == 7) {
            second = &tp;
        }
    }
    EXPECT_NE(list.Find(7), second);
    EXPECT_TRUE(list.Move(2, 0)); // node 2 moves first; node 7 (second position) stays first of its id
    EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{2, 0, 7, 7}));
    EXPECT_TRUE(list.Delete(7));
    EXPECT_EQ(list.Find(7), second);
    EXPECT_TRUE(list.Delete(7));
    EXPECT_EQ(list.Find(7), nullptr);
    EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{2, 0}));
}

TEST(NodeList, ReceiverIdsCountedFromOneRenumberEveryNode)
{
    // Each new id equals the id of the next node until that node is renumbered too.
    constexpr int kNodes = 50000;
    CNodeList<CTpNode> list;
    FillTps(list, kNodes);
    std::vector<CTpNode*> nodes;
    for (CTpNode& tp : list) {
        nodes.push_back(&tp);
    }
    for (int i = 0; i < kNodes; ++i) {
        list.SetNodeId(*nodes[static_cast<std::size_t>(i)], i + 1);
    }
    EXPECT_EQ(list.Find(0), nullptr);
    for (int i = 0; i < kNodes; ++i) {
        ASSERT_EQ(list.Find(i + 1), nodes[static_cast<std::size_t>(i)]);
    }
    EXPECT_TRUE(list.Delete(kNodes));
    EXPECT_EQ(list.Count(), static_cast<std::uint32_t>(kNodes - 1));
}

} // namespace

} // namespace core
