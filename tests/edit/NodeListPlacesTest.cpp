// The places and stores the edits keep in CNodeList.
#include "EditFixtures.h"

#include <gtest/gtest.h>

namespace core {

namespace {

using TpList = CNodeList<CTpNode>;

void Fill(TpList& list, int count)
{
    for (int i = 0; i < count; ++i) {
        list.Add(std::make_unique<CTpNode>());
    }
}

TEST(NodeListPlaces, ResolveGivesEachOccurrenceOfASharedIdTheNextNode)
{
    TpList list;
    Fill(list, 5);
    list.SetNodeId(*list.Find(1), 7);
    list.SetNodeId(*list.Find(3), 7);
    EXPECT_EQ(list.CountWithId(7), 2u);
    EXPECT_EQ(list.CountWithId(0), 1u);
    EXPECT_EQ(list.CountWithId(1), 0u);
    const std::vector<TpList::Place> all = list.Places();
    const struct
    {
        std::vector<std::int32_t> ids;
        bool resolves;
        std::vector<std::size_t> positions;
    } cases[] = {
        {{4, 0}, true, {4, 0}},
        {{7}, true, {1}},
        {{7, 7}, true, {1, 3}},
        {{2, 7, 4, 7}, true, {2, 1, 4, 3}},
        {{7, 7, 7}, false, {}},
        {{0, 0}, false, {}},
        {{9}, false, {}},
        {{}, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.ids));
        std::vector<TpList::Place> places{list.EndPlace()};
        EXPECT_EQ(list.Resolve(c.ids, places), c.resolves);
        ASSERT_EQ(places.size(), c.positions.size());
        for (std::size_t i = 0; i < places.size(); ++i) {
            EXPECT_EQ(places[i], all[c.positions[i]]);
        }
    }
}

TEST(NodeListPlaces, DetachedNodesKeepTheirIdsAndComeBackWhereTheyWere)
{
    TpList list;
    Fill(list, 4);
    const std::vector<TpList::Place> all = list.Places();
    TpList::Store store;
    const std::uint64_t revision = list.Revision();
    const TpList::Place next = list.Detach(all[1], store);
    EXPECT_EQ(next, all[2]);
    EXPECT_GT(list.Revision(), revision);
    EXPECT_EQ(list.Find(1), nullptr);
    EXPECT_EQ(list.CountWithId(1), 0u);
    EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{0, 2, 3}));
    list.Reattach(all[1], next, store);
    EXPECT_TRUE(store.empty());
    EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(list.Find(1), all[1]->get());
    list.MoveBefore(all[3], all[0]);
    EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{3, 0, 1, 2}));
    EXPECT_EQ(list.Find(3), all[3]->get());
}

TEST(NodeListPlaces, AddDetachedCountsIdsLikeAdd)
{
    TpList list;
    Fill(list, 2);
    TpList::Store store;
    const TpList::Place added = list.AddDetached(std::make_unique<CTpNode>(), store);
    EXPECT_EQ((*added)->Id(), 2);
    EXPECT_EQ(list.LastId(), 2);
    EXPECT_EQ(list.Find(2), nullptr); // not in the list until reattached
    list.Reattach(added, list.PlaceOf(0), store);
    EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{2, 0, 1}));
    EXPECT_EQ(list.Add(std::make_unique<CTpNode>()), 3);
}

TEST(NodeListPlaces, TheRevisionGrowsWithEveryChangeOfNodesOrOrderOnly)
{
    TpList list;
    Fill(list, 3);
    std::uint64_t last = list.Revision();
    const auto grew = [&list, &last] {
        const bool result = list.Revision() > last;
        last = list.Revision();
        return result;
    };
    list.Add(std::make_unique<CTpNode>());
    EXPECT_TRUE(grew());
    ASSERT_TRUE(list.Move(3, 0));
    EXPECT_TRUE(grew());
    ASSERT_TRUE(list.Move(0, 0));
    EXPECT_FALSE(grew()); // onto itself: nothing changed
    ASSERT_TRUE(list.Delete(1));
    EXPECT_TRUE(grew());
    list.SetNodeId(*list.Find(2), 9);
    EXPECT_TRUE(grew());
    list.Find(9)->SetFrequency(12000); // a value, not the list
    EXPECT_FALSE(grew());
    list.RemoveByParent(InvalidId);
    EXPECT_TRUE(grew());
    list.Clear();
    EXPECT_TRUE(grew());
}

} // namespace

} // namespace core
