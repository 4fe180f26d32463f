#include "access/CAccessDbIn.h"
#include "access/CAccessDbOut.h"
#include "access/CAccessDftDbOut.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "support/ByteBuilder.h"
#include "support/TempDir.h"

#ifndef _WIN32
#include "support/FileSizeLimit.h"
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

using testsupport::ByteBuilder;
#ifndef _WIN32
using testsupport::FileSizeLimit;
#endif
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace core {

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

// A database of nSat satellites, each with one transponder carrying nProgPerTp programs.
void FillDb(CProgDb& db, int nSat, int nProgPerTp)
{
    for (int s = 0; s < nSat; ++s) {
        auto sat = std::make_unique<CSatNode>();
        sat->SetName("Sat " + std::to_string(s));
        sat->SetLongitude(static_cast<std::uint32_t>(100 + s));
        const std::int32_t satId = db.Sats().Add(std::move(sat));
        auto tp = std::make_unique<CTpNode>(InvalidId, satId);
        tp->SetFrequency(static_cast<std::uint32_t>(11000 + s));
        const std::int32_t tpId = db.Tps().Add(std::move(tp));
        for (int p = 0; p < nProgPerTp; ++p) {
            auto prog = std::make_unique<CProgNode>(InvalidId, tpId);
            prog->SetProgName("Prog " + std::to_string(p));
            prog->SetServiceId(static_cast<std::uint32_t>(p + 1));
            db.Progs().Add(std::move(prog));
        }
    }
}

// What the default-database writer makes of db.
Bytes DbBytes(CProgDb& db)
{
    std::string bytes;
    EXPECT_TRUE(CAccessDbOut().BuildBytes(db, bytes));
    return ToBytes(bytes);
}

TEST(DftDbAreaTest, FindBytesTestsEveryPositionWherePatternFits)
{
    struct Case
    {
        std::string_view bytes;
        std::optional<std::size_t> found;
    };
    const Case cases[] = {
        {"Sg8K", 0},
        {"xSg8Sg8K", 4},
        {"xxSg8", std::nullopt},
        {"Sg8", std::nullopt},
        {"", std::nullopt},
        {"sg8kSG8KSg8KSg8K", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const Bytes bytes = ToBytes(c.bytes);
        EXPECT_EQ(CAccessDftDbOut::FindBytes(bytes, {'S', 'g', '8', 'K'}), c.found);
    }
}

TEST(DftDbAreaTest, AreaRunsFromStartMagicOverTheErasedBytesAfterTheEndMagic)
{
    struct Case
    {
        const char* name;
        Bytes image;
        std::optional<std::size_t> start;
        std::size_t length;
    };
    const Case cases[] = {
        {"no erased bytes", ToBytes("..Sg8K1234Eg8K.."), 2, 12},
        {"erased bytes up to another byte",
         ByteBuilder().Text("Sg8K").Text("Eg8K").Fill(5, 0xFF).U8(0xFE).Fill(3, 0xFF).Bytes(),
         0,
         13},
        {"end magic at the very end", ToBytes("xxxxSg8KEg8K"), 4, 8},
        {"erased bytes to the end of the image", ByteBuilder().Text("xSg8KEg8K").Fill(7, 0xFF).Bytes(), 1, 15},
        {"first start magic, first end magic after it", ToBytes("Eg8KSg8KabEg8KSg8KEg8K"), 4, 10},
        {"no whole start magic", ToBytes("Sg8Eg8K"), std::nullopt, 0},
        {"start magic without an end magic after it", ToBytes("Eg8K..Sg8K.."), std::nullopt, 0},
        {"no start magic", ByteBuilder().Fill(64, 0xFF).Bytes(), std::nullopt, 0},
        {"empty image", Bytes{}, std::nullopt, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearPendingError();
        const auto area = CAccessDftDbOut::FindDefaultDbArea(c.image);
        ASSERT_EQ(area.has_value(), c.start.has_value());
        if (area) {
            EXPECT_EQ(area->start, *c.start);
            EXPECT_EQ(area->length, c.length);
            EXPECT_FALSE(PendingError().pending);
        } else {
            EXPECT_EQ(PendingError().text, "Invalid file format!");
        }
    }
}

class DftDbOutTest : public ::testing::Test
{
protected:
    ScopedPendingError m_pending; // each test starts with an empty slot and leaves it as it was

    // prefix, "Sg8K", oldBody bytes, "Eg8K", erased bytes of 0xFF, suffix.
    static Bytes Image(std::size_t oldBody, std::size_t erased, std::string_view suffix = "\x01tail")
    {
        return ByteBuilder()
            .Text("head\x02")
            .Fill(11, 0xFF)
            .Text("Sg8K")
            .Fill(oldBody, 0x5A)
            .Text("Eg8K")
            .Fill(erased, 0xFF)
            .Text(suffix)
            .Bytes();
    }
    static constexpr std::size_t kAreaStart = 16;

    bool Merge(const Bytes& image)
    {
        path = dir.Write("flash.bin", image);
        return CAccessDftDbOut().Export(path, db);
    }

    bool TempFileExists() const { return std::filesystem::exists(path + ".tmp"); }

    TempDir dir;
    std::string path;
    CProgDb db;
};

TEST_F(DftDbOutTest, NewDatabaseReplacesTheAreaAndNothingElse)
{
    FillDb(db, 2, 3); // 20 + 2 * 28 + 2 * 4 + 6 * 64 = 468 bytes
    const Bytes newDb = DbBytes(db);
    ASSERT_EQ(newDb.size(), 468u);
    struct Case
    {
        const char* name;
        std::size_t oldBody;
        std::size_t erased;
        std::string_view suffix;
    };
    const Case cases[] = {
        {"exact fit: no erased byte is left", 100, 468 - 108, "\x01tail"},
        {"larger area: erased bytes up to the old end", 600, 40, "\x01tail"},
        {"end magic at the very end of the image", 460, 0, ""},
        {"erased bytes up to the end of the image", 10, 500, ""},
        {"a second default database after the area stays", 500, 0, "Sg8K....Eg8K\xFF\xFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes before = Image(c.oldBody, c.erased, c.suffix);
        const std::size_t areaLength = 4 + c.oldBody + 4 + c.erased;
        ASSERT_TRUE(Merge(before)) << PendingError().text;
        const Bytes after = ReadFileBytes(path);
        ASSERT_EQ(after.size(), before.size());
        const auto areaBegin = after.begin() + kAreaStart;
        EXPECT_TRUE(std::equal(before.begin(), before.begin() + kAreaStart, after.begin()));
        EXPECT_TRUE(std::equal(newDb.begin(), newDb.end(), areaBegin));
        EXPECT_TRUE(std::all_of(areaBegin + static_cast<std::ptrdiff_t>(newDb.size()),
                                areaBegin + static_cast<std::ptrdiff_t>(areaLength),
                                [](std::uint8_t b) { return b == 0xFF; }));
        EXPECT_TRUE(std::equal(before.begin() + static_cast<std::ptrdiff_t>(kAreaStart + areaLength),
                               before.end(),
                               areaBegin + static_cast<std::ptrdiff_t>(areaLength)));
        EXPECT_FALSE(TempFileExists());

        // The area holds a default database the reader takes back as it was.
        CProgDb back;
        ASSERT_TRUE(CAccessDbIn().ImportBytes(Bytes(areaBegin, areaBegin + 468), back));
        EXPECT_EQ(back.Progs().Count(), 6u);
        EXPECT_EQ(std::next(back.Sats().begin())->Name(), "Sat 1");
    }
}

TEST_F(DftDbOutTest, FailuresLeaveTheImageAsItWas)
{
    FillDb(db, 2, 3); // 468 bytes
    struct Case
    {
        const char* name;
        Bytes image;
        const char* message;
    };
    const Case cases[] = {
        {"new database one byte longer than the area",
         Image(100, 468 - 109),
         "The size defaultDb is not large enough for your default data!"},
        {"empty image", Bytes{}, "Empty file!"},
        {"no start magic", ToBytes("no default database here"), "Invalid file format!"},
        {"start magic without an end magic after it", ToBytes("Eg8K....Sg8K...."), "Invalid file format!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearPendingError();
        EXPECT_FALSE(Merge(c.image));
        EXPECT_EQ(PendingError().text, c.message);
        EXPECT_EQ(ReadFileBytes(path), c.image);
        EXPECT_FALSE(TempFileExists());
        EXPECT_FALSE(std::filesystem::exists(path + ".bak")); // no backup of an image left alone
    }

    ClearPendingError();
    EXPECT_FALSE(CAccessDftDbOut().Export(dir.File("missing.bin"), db));
    EXPECT_EQ(PendingError().text, "Open file failed!");
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.bin")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.bin.tmp")));
}

#ifndef _WIN32 // limits on open files and file sizes are POSIX's
TEST_F(DftDbOutTest, BackupThatCannotBeCreatedFailsTheMerge)
{
    FillDb(db, 1, 1);
    const Bytes image = Image(400, 100);
    path = dir.Write("flash.bin", image);
    // Merge once first: the sanitizer runtimes open files the first time they check a type.
    CAccessDftDbOut merger;
    ASSERT_TRUE(merger.Export(dir.Write("warm.bin", Image(400, 100)), db));
    // Leave room for one more open file only: the image opens, its backup cannot.
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    struct rlimit old
    { };
    ::getrlimit(RLIMIT_NOFILE, &old);
    struct rlimit few = old;
    few.rlim_cur = static_cast<rlim_t>(lowestFree) + 1;
    ::setrlimit(RLIMIT_NOFILE, &few);
    const bool merged = merger.Export(path, db);
    ::setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_FALSE(merged);
    EXPECT_EQ(PendingError().text, "Open file failed!");
    EXPECT_EQ(ReadFileBytes(path), image);
    EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
}
#endif

TEST_F(DftDbOutTest, FilesOfTheUserNamedLikeATemporaryFileAreLeftAlone)
{
    FillDb(db, 1, 1);
    const Bytes image = Image(400, 100);
    path = dir.Write("flash.bin", image);
    const Bytes own = ToBytes("the user's own notes");
    (void)dir.Write("flash.bin.tmp", own);
    std::filesystem::create_directories(dir.File("flash.bin.tmp.d/keep"));
    ASSERT_TRUE(CAccessDftDbOut().Export(path, db)) << PendingError().text;
    EXPECT_EQ(ReadFileBytes(path).size(), image.size());
    EXPECT_EQ(ReadFileBytes(dir.File("flash.bin.tmp")), own);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("flash.bin.tmp.d/keep")));
    // Nothing but the image, its backup and the user's own files is in the folder afterwards.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File(""))) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"flash.bin", "flash.bin.bak", "flash.bin.tmp", "flash.bin.tmp.d"}));
}

TEST_F(DftDbOutTest, FirstMergeKeepsTheImageAsBackupAndLaterOnesNeverOverwriteIt)
{
    FillDb(db, 1, 1);
    const Bytes original = Image(400, 100);
    path = dir.Write("flash.bin", original);
    const std::string bak = path + ".bak";

    CAccessDftDbOut merger;
    ASSERT_TRUE(merger.Export(path, db)) << PendingError().text;
    EXPECT_EQ(merger.BackupPath(), bak);
    EXPECT_EQ(ReadFileBytes(bak), original);
    const Bytes merged = ReadFileBytes(path);
    EXPECT_NE(merged, original);

    // A second merge finds the backup: it stays the image before the first merge.
    FillDb(db, 1, 2);
    ASSERT_TRUE(merger.Export(path, db)) << PendingError().text;
    EXPECT_EQ(merger.BackupPath(), bak);
    EXPECT_EQ(ReadFileBytes(bak), original);
    EXPECT_NE(ReadFileBytes(path), merged);

    // A .bak of the user's own is never overwritten either.
    const std::string other = dir.Write("other.bin", original);
    const Bytes own = ToBytes("kept by the user");
    (void)dir.Write("other.bin.bak", own);
    ASSERT_TRUE(merger.Export(other, db)) << PendingError().text;
    EXPECT_EQ(ReadFileBytes(other + ".bak"), own);

    // Without a backup none is made and none is reported.
    const std::string third = dir.Write("third.bin", original);
    merger.SetBackup(false);
    ASSERT_TRUE(merger.Export(third, db)) << PendingError().text;
    EXPECT_EQ(merger.BackupPath(), "");
    EXPECT_FALSE(std::filesystem::exists(third + ".bak"));
}

#ifndef _WIN32 // limits on open files and file sizes are POSIX's
TEST_F(DftDbOutTest, BackupCutShortFailsTheMergeAndIsRemoved)
{
    FillDb(db, 1, 1);
    const Bytes image = Image(600, 80);
    path = dir.Write("flash.bin", image);
    bool merged = false;
    {
        const FileSizeLimit limit(300); // below the image's length: the backup cannot be written whole
        merged = CAccessDftDbOut().Export(path, db);
    }
    EXPECT_FALSE(merged);
    EXPECT_EQ(PendingError().text, "Write file failed!");
    EXPECT_EQ(ReadFileBytes(path), image);
    EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
}
#endif

#ifndef _WIN32 // limits on open files and file sizes are POSIX's
TEST_F(DftDbOutTest, WriteFailingPartWayPutsTheOldAreaBack)
{
    FillDb(db, 1, 1); // 116 bytes: its temporary file stays below the limit
    const Bytes image = Image(600, 80);
    path = dir.Write("flash.bin", image);
    CAccessDftDbOut merger;
    merger.SetBackup(false); // the limit below would stop the backup first
    // A file-size limit inside the area makes the write stop part-way, as a failing disk would
    // (even for root); the bytes before the limit have then been overwritten.
    bool merged = false;
    {
        const FileSizeLimit limit(300);
        merged = merger.Export(path, db);
    }
    EXPECT_FALSE(merged);
    EXPECT_EQ(PendingError().text, "Write file failed!");
    EXPECT_EQ(ReadFileBytes(path), image);
    EXPECT_FALSE(TempFileExists());
}
#endif

TEST_F(DftDbOutTest, DatabaseTheFormatCannotHoldLeavesTheImageAlone)
{
    for (int i = 0; i < 8193; ++i) {
        db.Sats().Add(std::make_unique<CSatNode>());
    }
    const Bytes image = Image(300000, 0);
    EXPECT_FALSE(Merge(image));
    EXPECT_EQ(PendingError().text, "Too many satellites for a default database (at most 8192)!");
    EXPECT_EQ(ReadFileBytes(path), image);
    EXPECT_FALSE(TempFileExists());
}

TEST_F(DftDbOutTest, ObjectCanBeUsedForASecondMerge)
{
    FillDb(db, 1, 1); // 116 bytes
    CAccessDftDbOut merger;
    const std::string first = dir.Write("a.bin", Image(200, 0));
    const std::string second = dir.Write("b.bin", Image(50, 100));
    ASSERT_TRUE(merger.Export(first, db));
    ASSERT_TRUE(merger.Export(second, db));
    EXPECT_EQ(ReadFileBytes(first).size(), Image(200, 0).size());
    EXPECT_EQ(ReadFileBytes(second).size(), Image(50, 100).size());
}

} // namespace

} // namespace core
