#include "edit/Duplicates.h"
#include "EditFixtures.h"

#include <gtest/gtest.h>

namespace core {

namespace {

// A program in a hand-built database: its satellite (by index), its transponder word, ServiceId.
struct ProgSpec
{
    int sat;
    std::uint32_t tpWord;
    std::uint32_t serviceId;
};

// Builds two satellites, one transponder per distinct (satellite, word) in order of appearance
// unless separateTps asks for one transponder per program, and the programs.
void Build(CProgDb& db, const std::vector<ProgSpec>& progs, bool separateTps)
{
    AddSat(db, "One");
    AddSat(db, "Two");
    std::vector<std::pair<std::pair<int, std::uint32_t>, std::int32_t>> tps;
    for (const ProgSpec& spec : progs) {
        std::int32_t tp = InvalidId;
        for (const auto& [key, id] : tps) {
            if (!separateTps && key == std::pair{spec.sat, spec.tpWord}) {
                tp = id;
            }
        }
        if (tp == InvalidId) {
            tp = AddTp(db, spec.sat, 0);
            db.Tps().Find(tp)->SetTpRecord(spec.tpWord);
            tps.push_back({{spec.sat, spec.tpWord}, tp});
        }
        AddProg(db, tp, "p", spec.serviceId);
    }
}

TEST(Duplicates, ASameServiceOnAnEarlierProgramOfTheSameTransponder)
{
    constexpr std::uint32_t kExtra = 0x80000000u;
    const struct
    {
        const char* name;
        std::vector<ProgSpec> progs;
        bool separateTps;
        std::vector<std::int32_t> duplicates;
    } cases[] = {
        {"none", {{0, 1, 10}, {0, 1, 11}, {0, 2, 10}}, false, {}},
        {"second of two", {{0, 1, 10}, {0, 1, 10}}, false, {1}},
        {"second and third of three", {{0, 1, 10}, {0, 1, 10}, {0, 1, 10}}, false, {1, 2}},
        {"interleaved", {{0, 1, 10}, {0, 2, 10}, {0, 1, 10}, {0, 2, 10}, {0, 1, 11}}, false, {2, 3}},
        {"another satellite is another transponder", {{0, 1, 10}, {1, 1, 10}}, false, {}},
        {"two transponder nodes with one word", {{0, 1, 10}, {0, 1, 10}}, true, {1}},
        {"ExtraFlag is ignored", {{0, 1, 10}, {0, 1 | kExtra, 10}}, true, {1}},
        {"polarisation counts", {{0, 1, 10}, {0, 1 | (1u << 14), 10}}, true, {}},
        {"ServiceId 0 too", {{1, 5, 0}, {1, 5, 0}}, false, {1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CProgDb db;
        Build(db, c.progs, c.separateTps);
        EXPECT_EQ(FindDuplicatePrograms(db), c.duplicates);
        const std::vector<bool> mask = DuplicateProgramMask(db);
        ASSERT_EQ(mask.size(), c.progs.size());
        for (std::size_t i = 0; i < mask.size(); ++i) {
            const bool listed = std::find(c.duplicates.begin(), c.duplicates.end(), static_cast<std::int32_t>(i))
                != c.duplicates.end();
            EXPECT_EQ(mask[i], listed) << i;
        }
    }
}

TEST(Duplicates, OrderDecidesWhichOneIsTheDuplicateAndOrphansAreNone)
{
    CProgDb db;
    BuildSampleDb(db);
    EXPECT_EQ(FindDuplicatePrograms(db), (std::vector<std::int32_t>{4, 5, 9, 11}));
    ASSERT_TRUE(db.Progs().Move(11, 3)); // Zulu before Eclair: now Eclair is the later one
    EXPECT_EQ(FindDuplicatePrograms(db), (std::vector<std::int32_t>{3, 4, 5, 9}));
    AddProg(db, 77, "orphan", 1);
    AddProg(db, 77, "orphan", 1);
    EXPECT_EQ(FindDuplicatePrograms(db), (std::vector<std::int32_t>{3, 4, 5, 9}));
}

} // namespace

} // namespace core
