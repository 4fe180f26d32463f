#include "access/CAccessDbIn.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "support/ByteBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using testsupport::ByteBuilder;
using testsupport::TempDir;

namespace core {

namespace {

// A default-database file: header with the given counts, then raw record bytes.
ByteBuilder DbFileHeader(std::uint32_t nSat, std::uint32_t nTp, std::uint32_t nProg)
{
    ByteBuilder b;
    b.Text("Sg8K").U32(nSat).U32(nTp).U32(nProg);
    return b;
}

ByteBuilder& SatBytes(ByteBuilder& b, std::string_view name, std::uint32_t firstTp, std::uint32_t tpCount)
{
    return b.FixedText(name, 16).U32(0).U32(192).U32((firstTp << 4) | (tpCount << 17));
}

ByteBuilder& ProgBytes(ByteBuilder& b, std::uint32_t satRef, std::uint32_t tpRef, std::string_view name)
{
    return b.U32(satRef | (tpRef << 13)).U32(0).U32(0).U32(0).U32(0).FixedText(name, 44);
}

class DbFileRead : public testing::Test
{
protected:
    ScopedPendingError m_pending; // each test starts with an empty slot and leaves it as it was

    bool Read(const ByteBuilder& file)
    {
        const std::string path = dir.Write("in.db", file.Bytes());
        return CAccessDbIn().Import(path, db);
    }

    TempDir dir;
    CProgDb db;
};

struct RejectCase
{
    const char* name;
    ByteBuilder file;
    const char* message;
};

TEST_F(DbFileRead, RejectedFilesLeaveTheirMessageAndAnEmptyDatabase)
{
    ByteBuilder nineteen = DbFileHeader(0, 0, 0);
    nineteen.Text("Eg8");
    ByteBuilder badMagic;
    badMagic.Text("Sg8k").U32(0).U32(0).U32(0).Text("Eg8K");
    ByteBuilder shortBy1 = DbFileHeader(0, 1, 0);
    shortBy1.Fill(3, 0).Text("Eg8K");
    ByteBuilder longBy1 = DbFileHeader(0, 0, 0);
    longBy1.Text("Eg8K").U8(0);
    // Counts that wrap around 32 bits: 64 * 0x04000000 = 2^32 would make a 20-byte file "fit".
    ByteBuilder wraps = DbFileHeader(0, 0, 0x04000000);
    wraps.Text("Eg8K");
    ByteBuilder wrapsSum = DbFileHeader(0x40000000u, 0x40000000u, 0); // 28 * 2^30 and 4 * 2^30 wrap to 0
    wrapsSum.Text("Eg8K");
    ByteBuilder runPastEnd = DbFileHeader(2, 7, 0);
    SatBytes(runPastEnd, "A", 0, 2);
    SatBytes(runPastEnd, "B", 5, 3);
    runPastEnd.Fill(28, 0).Text("Eg8K");

    const RejectCase cases[] = {
        {"19 bytes", nineteen, "File size error!"},
        {"empty file", ByteBuilder(), "File size error!"},
        {"start magic", badMagic, "File format error!"},
        {"one byte short", shortBy1, "File size error!"},
        {"one byte long", longBy1, "File size error!"},
        {"count wraps", wraps, "File size error!"},
        {"sum wraps", wrapsSum, "File size error!"},
        {"transponder run past nTp", runPastEnd, "File format error!"},
    };
    for (const RejectCase& c : cases) {
        SCOPED_TRACE(c.name);
        db.Progs().Add(std::make_unique<CProgNode>()); // something the reader must not leave behind
        ClearPendingError();
        EXPECT_FALSE(Read(c.file));
        EXPECT_EQ(PendingError().pending, 1);
        EXPECT_EQ(PendingError().text, c.message);
        EXPECT_TRUE(db.IsEmpty());
    }
}

TEST_F(DbFileRead, UnopenableFileLeavesTheDatabaseAlone)
{
    db.Sats().Add(std::make_unique<CSatNode>());
    EXPECT_FALSE(CAccessDbIn().Import(dir.File("missing.db"), db));
    EXPECT_EQ(PendingError().text, "Open file failed!");
    EXPECT_EQ(db.Sats().Count(), 1u);
    EXPECT_FALSE(CAccessDbIn().Import(dir.Path(), db)); // a folder is not a file
    EXPECT_EQ(PendingError().text, "Open file failed!");
}

TEST_F(DbFileRead, EmptyDatabaseAndAMissingEndMagic)
{
    ByteBuilder empty = DbFileHeader(0, 0, 0);
    empty.Text("Eg8K");
    EXPECT_TRUE(Read(empty));
    EXPECT_TRUE(db.IsEmpty());
    ByteBuilder noEnd = DbFileHeader(0, 0, 0);
    noEnd.Text("XXXX");
    EXPECT_TRUE(Read(noEnd));
    EXPECT_EQ(PendingError().pending, 0);
}

TEST_F(DbFileRead, IndexesBecomeParentLinks)
{
    ByteBuilder file = DbFileHeader(2, 4, 2);
    SatBytes(file, "A", 0, 1);
    SatBytes(file, "B", 1, 2);
    file.U32(11000).U32(11100).U32(11200).U32(11300); // the last is outside every run
    ProgBytes(file, 1, 2, "On B2");
    ProgBytes(file, 0, 0, "On A1");
    file.Text("Eg8K");
    ASSERT_TRUE(Read(file));
    std::vector<std::int32_t> parents;
    for (const CTpNode& tp : db.Tps()) {
        parents.push_back(tp.ParentId());
    }
    EXPECT_EQ(parents, (std::vector<std::int32_t>{0, 1, 1, InvalidId}));
    ASSERT_EQ(db.Progs().Count(), 2u);
    EXPECT_EQ(db.Progs().Find(0)->ParentId(), 2);
    EXPECT_EQ(db.Progs().Find(0)->ProgName(), "On B2");
    EXPECT_EQ(db.Progs().Find(1)->ParentId(), 0);
    EXPECT_EQ(db.Sats().Find(1)->Name(), "B");
    EXPECT_EQ(db.Sats().Find(1)->Select(), 0);
    EXPECT_EQ(db.Sats().Find(1)->Longitude(), 192u);
}

TEST_F(DbFileRead, UnterminatedNamesStopAtTheRecordEnd)
{
    ByteBuilder file = DbFileHeader(1, 0, 1);
    file.Fill(28, 'S');
    file.PatchU32(16 + 16, 0).PatchU32(16 + 20, 0).PatchU32(16 + 24, 0); // the words after the name
    file.U32(0).U32(0).U32(0).U32(0).U32(0).Fill(44, 'P').Text("Eg8K");
    ASSERT_TRUE(Read(file));
    EXPECT_EQ(db.Sats().Find(0)->Name(), std::string(16, 'S'));
    EXPECT_EQ(db.Progs().Find(0)->ProgName(), std::string(44, 'P'));
}

} // namespace

} // namespace core
