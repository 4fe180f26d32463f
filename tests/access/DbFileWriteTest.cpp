#include "access/CAccessDbIn.h"
#include "access/CAccessDbOut.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "support/TempDir.h"

#ifndef _WIN32
#include "support/FileSizeLimit.h"
#endif

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
using testsupport::FileSizeLimit;
#endif
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace core {

namespace {

std::int32_t AddSat(CProgDb& db, std::string_view name)
{
    auto sat = std::make_unique<CSatNode>();
    sat->SetName(name);
    return db.Sats().Add(std::move(sat));
}

std::int32_t AddTp(CProgDb& db, std::int32_t sat, std::uint32_t frequency)
{
    auto tp = std::make_unique<CTpNode>(InvalidId, sat);
    tp->SetFrequency(frequency);
    return db.Tps().Add(std::move(tp));
}

std::int32_t AddProg(CProgDb& db, std::int32_t tp, std::string_view name)
{
    auto prog = std::make_unique<CProgNode>(InvalidId, tp);
    prog->SetProgName(name);
    return db.Progs().Add(std::move(prog));
}

class DbFileWrite : public testing::Test
{
protected:
    ScopedPendingError m_pending; // each test starts with an empty slot and leaves it as it was

    std::vector<std::uint8_t> Write(CProgDb& source)
    {
        const std::string path = dir.File("out.db");
        EXPECT_TRUE(CAccessDbOut().Export(path, source));
        return ReadFileBytes(path);
    }

    TempDir dir;
};

TEST_F(DbFileWrite, EmptyDatabaseIsTwentyBytes)
{
    CProgDb db;
    const std::vector<std::uint8_t> expected{'S', 'g', '8', 'K', 0, 0, 0,   0,   0,   0,
                                             0,   0,   0,   0,   0, 0, 'E', 'g', '8', 'K'};
    EXPECT_EQ(Write(db), expected);
    CProgDb back;
    EXPECT_TRUE(CAccessDbIn().Import(dir.File("out.db"), back));
    EXPECT_TRUE(back.IsEmpty());
}

TEST_F(DbFileWrite, TranspondersAreGroupedBySatelliteAndProgramsGetIndexes)
{
    CProgDb db;
    const std::int32_t a = AddSat(db, "A");
    const std::int32_t b = AddSat(db, "B");
    const std::int32_t b1 = AddTp(db, b, 1);
    AddTp(db, a, 2);
    const std::int32_t b2 = AddTp(db, b, 3);
    AddProg(db, b2, "On B2");
    AddProg(db, b1, "On B1");
    const std::vector<std::uint8_t> file = Write(db);

    EXPECT_EQ(db.Sats().Find(a)->FirstTpIndex(), 0u);
    EXPECT_EQ(db.Sats().Find(a)->TpCount(), 1u);
    EXPECT_EQ(db.Sats().Find(b)->FirstTpIndex(), 1u);
    EXPECT_EQ(db.Sats().Find(b)->TpCount(), 2u);
    const CProgNode* onB2 = db.Progs().Find(0);
    EXPECT_EQ(onB2->TpRef(), 2u);
    EXPECT_EQ(onB2->SatRef(), 1u);

    ASSERT_EQ(file.size(), 20u + 2 * 28 + 3 * 4 + 2 * 64);
    const std::size_t tps = 16 + 2 * 28;
    EXPECT_EQ(file[tps], 2); // A1
    EXPECT_EQ(file[tps + 4], 1); // B1
    EXPECT_EQ(file[tps + 8], 3); // B2

    CProgDb back;
    ASSERT_TRUE(CAccessDbIn().Import(dir.File("out.db"), back));
    EXPECT_EQ(back.Progs().Find(0)->ParentId(), 2); // the third transponder
    EXPECT_EQ(back.Tps().Find(2)->Frequency(), 3u);
    EXPECT_EQ(back.Progs().Find(1)->ParentId(), 1);
}

TEST_F(DbFileWrite, EveryProgramWordAndTheNameSurviveARoundTrip)
{
    CProgDb db;
    const std::int32_t sat = AddSat(db, "Astra 19.2E");
    db.Sats().Find(sat)->Record().SetWord(16, 0xFFFFFF00u | 0xE7u);
    const std::int32_t tp = AddTp(db, sat, 11494);
    db.Tps().Find(tp)->SetTpRecord(0xFFFFFFFFu);
    auto prog = std::make_unique<CProgNode>(InvalidId, tp);
    for (std::size_t offset = 0; offset < 20; offset += 4) {
        prog->Record().SetWord(offset, 0xA5A5A5A5u ^ static_cast<std::uint32_t>(offset));
    }
    prog->SetProgName(std::string(41, 'n'));
    prog->SetPmtPid(0x1FFF);
    prog->SetPCRPID(0x1234);
    prog->SetHide(1);
    prog->SetSkip(0);
    prog->SetTunerSel(2);
    db.Progs().Add(std::move(prog));

    const std::vector<std::uint8_t> first = Write(db);
    CProgDb back;
    ASSERT_TRUE(CAccessDbIn().Import(dir.File("out.db"), back));
    const CProgNode& original = *db.Progs().Find(0);
    const CProgNode& read = *back.Progs().Find(0);
    EXPECT_EQ(read.Record(), original.Record());
    EXPECT_EQ(read.ProgName(), std::string(41, 'n'));
    EXPECT_EQ(read.PmtPid(), 0x1FFFu);
    EXPECT_EQ(read.PCRPID(), 0x1234u);
    EXPECT_EQ(read.Hide(), 1u);
    EXPECT_EQ(read.TunerSel(), 2u);
    EXPECT_EQ(back.Sats().Find(0)->Record(), db.Sats().Find(0)->Record());
    EXPECT_EQ(back.Tps().Find(0)->TpRecord(), 0xFFFFFFFFu);
    EXPECT_EQ(Write(back), first);
}

TEST_F(DbFileWrite, OrphansAreLeftOutSoEveryLinkStaysRight)
{
    CProgDb db;
    const std::int32_t sat = AddSat(db, "A");
    const std::int32_t orphanTp = AddTp(db, 42, 1); // its satellite is not in the database
    const std::int32_t tp = AddTp(db, sat, 2);
    AddProg(db, orphanTp, "lost");
    AddProg(db, tp, "kept");
    AddProg(db, 99, "no transponder");
    const std::vector<std::uint8_t> file = Write(db);
    EXPECT_EQ(file.size(), 20u + 28 + 4 + 64);
    CProgDb back;
    ASSERT_TRUE(CAccessDbIn().Import(dir.File("out.db"), back));
    ASSERT_EQ(back.Progs().Count(), 1u);
    EXPECT_EQ(back.Progs().Find(0)->ProgName(), "kept");
    EXPECT_EQ(back.Tps().Find(back.Progs().Find(0)->ParentId())->Frequency(), 2u);
}

TEST_F(DbFileWrite, DatabasesBeyondTheIndexFieldsAreRefusedAndTheOldFileStays)
{
    const std::string path = dir.Write("out.db", std::string_view("previous"));
    struct Case
    {
        const char* name;
        int sats;
        int tpsPerSat;
        const char* message;
    } const cases[] = {
        {"8193 satellites", 8193, 0, "Too many satellites for a default database (at most 8192)!"},
        {"8192 transponders on one satellite",
         1,
         8192,
         "Too many transponders on one satellite for a default database (at most 8191)!"},
        {"8193 transponders", 2, 4097, "Too many transponders for a default database (at most 8192)!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CProgDb db;
        for (int s = 0; s < c.sats; ++s) {
            const std::int32_t sat = AddSat(db, "S");
            for (int t = 0; t < c.tpsPerSat; ++t) {
                AddTp(db, sat, 1);
            }
        }
        ClearPendingError();
        EXPECT_FALSE(CAccessDbOut().Export(path, db));
        EXPECT_EQ(PendingError().text, c.message);
        EXPECT_EQ(ReadFileBytes(path), (std::vector<std::uint8_t>{'p', 'r', 'e', 'v', 'i', 'o', 'u', 's'}));
    }
    // The largest database that fits is written and read back.
    CProgDb db;
    const std::int32_t a = AddSat(db, "A");
    const std::int32_t b = AddSat(db, "B");
    for (int t = 0; t < 8191; ++t) {
        AddTp(db, a, 1);
    }
    const std::int32_t last = AddTp(db, b, 7);
    AddProg(db, last, "last");
    ASSERT_TRUE(CAccessDbOut().Export(path, db));
    CProgDb back;
    ASSERT_TRUE(CAccessDbIn().Import(path, back));
    EXPECT_EQ(back.Tps().Find(back.Progs().Find(0)->ParentId())->Frequency(), 7u);
    EXPECT_EQ(back.Progs().Find(0)->SatRef(), 1u);
}

#ifndef _WIN32 // file-size limits are POSIX's
TEST_F(DbFileWrite, AFailedWriteKeepsThePreviousFile)
{
    CProgDb db;
    for (int i = 0; i < 10; ++i) {
        AddSat(db, "A");
    }
    const std::string path = dir.Write("out.db", std::string_view("previous"));
    // A file-size limit makes the write fail part-way, as a full disk would (even for root).
    bool written = false;
    {
        const FileSizeLimit limit(100);
        written = CAccessDbOut().Export(path, db);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(PendingError().text, "Write file failed!");
    EXPECT_EQ(ReadFileBytes(path), (std::vector<std::uint8_t>{'p', 'r', 'e', 'v', 'i', 'o', 'u', 's'}));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u); // no temporary file left behind
}
#endif

TEST_F(DbFileWrite, UnwritableTargetFolderFailsToOpen)
{
    CProgDb db;
    AddSat(db, "A");
    EXPECT_FALSE(CAccessDbOut().Export(dir.File("no/such/folder/out.db"), db));
    EXPECT_EQ(PendingError().text, "Open file failed!");
}

TEST(SampleDatabase, ReadAndWrittenAgainGivesTheSameBytes)
{
    const std::string path = std::string(SAMPLES_DIR) + "/sample.db";
    CProgDb db;
    ASSERT_TRUE(CAccessDbIn().Import(path, db));
    EXPECT_GE(db.Sats().Count(), 3u);
    EXPECT_GE(db.Progs().Count(), 200u);
    std::string bytes;
    ASSERT_TRUE(CAccessDbOut().BuildBytes(db, bytes));
    const std::vector<std::uint8_t> original = ReadFileBytes(path);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), original);
}

} // namespace

} // namespace core
