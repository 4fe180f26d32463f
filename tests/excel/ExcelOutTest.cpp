#include "common/CodePage.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "excel/CAccessExcelOut.h"
#include "excel/CExcelBook.h"
#include "excel/ExcelLayout.h"
#include "excel/ExcelTemplate.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using testsupport::ReadFileBytes;
using testsupport::ReadFileText;
using testsupport::TempDir;

namespace core {

namespace {

using Rows = std::vector<std::vector<std::string>>;

// A sheet's cells as the workbook layer reads them, rows 1.., columns 0..width-1; reading stops
// at the first row whose every cell is empty.
Rows ReadSheet(const std::string& path, const std::string& sheet, int width)
{
    CExcelBook book;
    Rows rows;
    if (!book.Open(path) || !book.OpenSheet(sheet)) {
        ADD_FAILURE() << "cannot open " << sheet << ": " << PendingError().text;
        return rows;
    }
    for (int row = 1;; ++row) {
        std::vector<std::string> cells(static_cast<std::size_t>(width));
        bool any = false;
        for (int column = 0; column < width; ++column) {
            any = book.ReadCell(row, column, cells[static_cast<std::size_t>(column)]) || any;
        }
        if (!any) {
            return rows;
        }
        rows.push_back(std::move(cells));
    }
}

std::vector<std::string> Header(const auto& headers)
{
    return std::vector<std::string>(headers.begin(), headers.end());
}

std::size_t CountOf(const std::string& text, const std::string& what)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

class ExcelOutTest : public testing::Test
{
protected:
    ScopedPendingError m_pending; // each test starts with an empty slot and leaves it as it was

    CSatNode& AddSat(const std::string& name, std::int32_t select = 0)
    {
        auto sat = std::make_unique<CSatNode>(select);
        sat->SetName(name);
        CSatNode& ref = *sat;
        db.Sats().Add(std::move(sat));
        return ref;
    }
    CTpNode& AddTp(std::int32_t satId, std::uint32_t frequency, std::uint32_t symbolRate, std::uint32_t polar)
    {
        auto tp = std::make_unique<CTpNode>(InvalidId, satId);
        tp->SetFrequency(frequency);
        tp->SetSymbolRate(symbolRate);
        tp->SetPolar(polar);
        CTpNode& ref = *tp;
        db.Tps().Add(std::move(tp));
        return ref;
    }
    CProgNode& AddProg(std::int32_t tpId, const std::string& name)
    {
        auto prog = std::make_unique<CProgNode>(InvalidId, tpId);
        prog->SetProgName(name);
        CProgNode& ref = *prog;
        db.Progs().Add(std::move(prog));
        return ref;
    }
    bool Export() { return CAccessExcelOut().Export(path, db); }

    TempDir dir;
    std::string path = dir.File("out.xls");
    CProgDb db;
};

std::vector<std::string> Padded(std::vector<std::string> row, std::size_t width)
{
    row.resize(width);
    return row;
}

TEST_F(ExcelOutTest, EmptyDatabaseGivesOnlyTheHeaderRow)
{
    ASSERT_TRUE(Export()) << PendingError().text;
    EXPECT_EQ(ReadSheet(path, "Satellites", 17), Rows{Padded(Header(ExcelLayout::kSatHeaders), 17)});
    const std::string text = ReadFileText(path);
    EXPECT_EQ(CountOf(text, "<Worksheet "), 1u);
    EXPECT_EQ(CountOf(text, "ss:ExpandedColumnCount=\"16\""), 1u);
}

TEST_F(ExcelOutTest, SatelliteRowsLinksAndSheetNames)
{
    CSatNode& first = AddSat("Sat 1", 0);
    first.SetLongitude(192);
    first.SetLocalFre1(3);
    first.SetLocalFre2(12);
    first.SetSwitch12V(1);
    first.SetTone22K(2);
    first.SetDiSEqC(5);
    first.SetDiSEqC12(200);
    first.SetDirection(1);
    first.SetLnbType(3);
    first.SetDisEqCMotor(2);
    first.SetTunerSel(1);
    first.SetVideoType(7);
    first.SetAudioType(4);
    AddSat("Sat 1", 1);
    AddSat("Sat 1", 2).SetLocalFre1(9);
    AddSat("Sat 13.0E", 7);
    ASSERT_TRUE(Export()) << PendingError().text;

    using V = std::vector<std::string>;
    EXPECT_EQ(
        ReadSheet(path, "Satellites", 16),
        (Rows{
            Header(ExcelLayout::kSatHeaders),
            V{"A", "Sat 1", "Sat_1", "192", "9750", "5150", "1", "2", "5", "200", "1", "3", "2", "1", "7", "4"},
            V{"S", "Sat 1", "Sat_11", "0", "5150", "5150", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
            V{"T", "Sat 1", "Sat_12", "0", "11300", "5150", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
            V{"A", "Sat 13.0E", "Sat_13_0E", "0", "5150", "5150", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}}));
    // Every satellite gets its sheet, whatever its kind; a sheet without transponders holds the header.
    for (const char* sheet : {"Sat_1", "Sat_11", "Sat_12", "Sat_13_0E"}) {
        SCOPED_TRACE(sheet);
        EXPECT_EQ(ReadSheet(path, sheet, 20), Rows{Padded(Header(ExcelLayout::kProgHeaders), 20)});
    }
    const std::string text = ReadFileText(path);
    EXPECT_EQ(CountOf(text, "ss:HRef=\"#Sat_12!A1\""), 1u);
    EXPECT_EQ(CountOf(text, "ss:StyleID=\"s21\""), 4u);
    EXPECT_EQ(CountOf(text, "ss:ExpandedColumnCount=\"19\""), 4u);
    EXPECT_EQ(CountOf(text, "<Worksheet "), 5u);
}

TEST_F(ExcelOutTest, ProgramSheetsListTranspondersThenPrograms)
{
    const std::int32_t a = AddSat("A").Id();
    const std::int32_t b = AddSat("B").Id();
    const std::int32_t t1 = AddTp(a, 11494, 22000, 0).Id();
    const std::int32_t t3 = AddTp(b, 10744, 22000, 0).Id();
    const std::int32_t t2 = AddTp(a, 12000, 27500, 1).Id();
    const std::int32_t stray = AddTp(42, 10000, 1000, 0).Id(); // under no satellite
    AddProg(t3, "On B");
    CProgNode& full = AddProg(t2, "On A 1");
    full.SetVPID(8191);
    full.SetAPID(1002);
    full.SetPCRPID(1003);
    full.SetScramble(1);
    full.SetHide(1);
    full.SetTrack(3);
    full.SetServiceId(65535);
    full.SetPmtPid(100);
    full.SetAvType(1);
    full.SetLock(1);
    full.SetSkip(1);
    full.SetFavType(0xFFFFFFFFu);
    full.SetTunerSel(2);
    full.SetVideoType(6);
    full.SetAudioType(5);
    AddProg(t1, "On A 2").SetFavType(0x80000000u);
    AddProg(stray, "Stray");
    AddProg(99, "Orphan");
    ASSERT_TRUE(Export()) << PendingError().text;

    using V = std::vector<std::string>;
    auto row = [](const std::string& name, V tp, V rest = {}) {
        V cells{name};
        cells.insert(cells.end(), tp.begin(), tp.end());
        rest.resize(15, "0");
        cells.insert(cells.end(), rest.begin(), rest.end());
        return cells;
    };
    const V tpRow1{"", "11494", "22000", "H"};
    const V tpRow2{"", "12000", "27500", "V"};
    EXPECT_EQ(ReadSheet(path, "A", 19),
              (Rows{Header(ExcelLayout::kProgHeaders),
                    Padded(tpRow1, 19),
                    Padded(tpRow2, 19),
                    row("On A 1",
                        {"12000", "27500", "V"},
                        {"8191", "1002", "1003", "1", "1", "3", "65535", "100", "1", "1", "1", "-1", "2", "6", "5"}),
                    row("On A 2",
                        {"11494", "22000", "H"},
                        {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "-2147483648"})}));
    EXPECT_EQ(ReadSheet(path, "B", 19),
              (Rows{Header(ExcelLayout::kProgHeaders),
                    Padded(V{"", "10744", "22000", "H"}, 19),
                    row("On B", {"10744", "22000", "H"})}));
    EXPECT_EQ(CountOf(ReadFileText(path), "Stray"), 0u);
    EXPECT_EQ(CountOf(ReadFileText(path), "Orphan"), 0u);
}

TEST_F(ExcelOutTest, SatelliteNamedLikeTheSatellitesSheet)
{
    const std::int32_t sat = AddSat("Satellites").Id();
    AddProg(AddTp(sat, 11494, 22000, 0).Id(), "Prog");
    ASSERT_TRUE(Export()) << PendingError().text;
    const Rows satellites = ReadSheet(path, "Satellites", 16);
    ASSERT_EQ(satellites.size(), 2u);
    EXPECT_EQ(satellites[0], Header(ExcelLayout::kSatHeaders));
    EXPECT_EQ(satellites[1][2], "Satellites1");
    const Rows programs = ReadSheet(path, "Satellites1", 19);
    ASSERT_EQ(programs.size(), 3u);
    EXPECT_EQ(programs[2][0], "Prog");
}

TEST_F(ExcelOutTest, UncreatableFileFailsAndLeavesNothing)
{
    path = dir.File("missing-folder/out.xls");
    EXPECT_FALSE(Export());
    EXPECT_EQ(PendingError().text, "Create File Failed!");
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing-folder")));
}

TEST_F(ExcelOutTest, ReplacesTheTargetAndLeavesNoScratchFile)
{
    dir.Write("out.xls", "old contents");
    AddSat("Sat");
    ASSERT_TRUE(Export()) << PendingError().text;
    EXPECT_EQ(ReadSheet(path, "Satellites", 16).size(), 2u);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        files.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(files, std::vector<std::string>{"out.xls"});
}

// The progress hook sees the share of rows grow to 100; the same workbook is written with it or
// without it. Asked to stop, the export fails with nothing pending and writes nothing.
TEST_F(ExcelOutTest, ProgressHookFollowsTheRowsAndCanStop)
{
    for (int s = 0; s < 3; ++s) {
        AddSat("Sat" + std::to_string(s));
        for (int t = 0; t < 4; ++t) {
            const std::int32_t tp = AddTp(s, 10000 + static_cast<std::uint32_t>(t), 27500, 0).Id();
            for (int p = 0; p < 20; ++p) {
                AddProg(tp, "Prog" + std::to_string(p));
            }
        }
    }
    ASSERT_TRUE(Export());
    const std::vector<std::uint8_t> plain = ReadFileBytes(path);
    std::vector<int> seen;
    CAccessExcelOut watched;
    watched.SetProgressHook([&seen](int percent) {
        seen.push_back(percent);
        return true;
    });
    ASSERT_TRUE(watched.Export(path, db));
    EXPECT_EQ(ReadFileBytes(path), plain);
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()); // each share once
    EXPECT_EQ(seen.back(), 100);

    const std::string stopped = dir.File("stopped.xls");
    int calls = 0;
    CAccessExcelOut stopping;
    stopping.SetProgressHook([&calls](int percent) {
        ++calls;
        return percent < 30;
    });
    EXPECT_FALSE(stopping.Export(stopped, db));
    EXPECT_FALSE(std::filesystem::exists(stopped));
    EXPECT_EQ(PendingError().pending, 0);
    EXPECT_LT(calls, static_cast<int>(seen.size()));
}

// The template's font and style names are not in every code page; the workbook is written in
// UTF-8 whatever the internal code page, so they reach the file unchanged.
class TemplateUnderCodePage : public testing::TestWithParam<const char*>
{ };

TEST_P(TemplateUnderCodePage, KeepsItsNames)
{
    const ScopedCodePage codePage(GetParam());
    ASSERT_TRUE(codePage.Installed());
    TempDir dir;
    CExcelBook book;
    ASSERT_TRUE(book.CreateInMemory(dir.File("new.xls")));
    ASSERT_TRUE(book.Save());
    EXPECT_EQ(ReadFileText(dir.File("new.xls")), ExcelWorkbookTemplate());

    CProgDb db;
    ASSERT_TRUE(CAccessExcelOut().Export(dir.File("out.xls"), db)) << PendingError().text;
    const std::string text = ReadFileText(dir.File("out.xls"));
    EXPECT_EQ(CountOf(text, "ss:FontName=\"\xE5\xAE\x8B\xE4\xBD\x93\""),
              CountOf(ExcelWorkbookTemplate(), "ss:FontName=\"\xE5\xAE\x8B\xE4\xBD\x93\""));
    EXPECT_NE(text.find("ss:Name=\"\xE8\xB6\x85\xE9\x93\xBE\xE6\x8E\xA5\""), std::string::npos);
    EXPECT_EQ(CountOf(text, "?"), CountOf(ExcelWorkbookTemplate(), "?")) << "no character became a question mark";
}

INSTANTIATE_TEST_SUITE_P(Excel, TemplateUnderCodePage, testing::Values("28591", "1251", "936"));

// File modes and file-size limits are POSIX's; the Windows side of the save has its own tests in
// common_tests.
#ifndef _WIN32
TEST_F(ExcelOutTest, KeepsThePermissionsOfTheFileItReplaces)
{
    dir.Write("out.xls", "old contents");
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    AddSat("Sat");
    ASSERT_TRUE(Export()) << PendingError().text;
    struct stat st
    { };
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(ReadSheet(path, "Satellites", 16).size(), 2u);
}

// Writes beyond a byte limit fail (with EFBIG rather than a signal) for the life of the object.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST_F(ExcelOutTest, FailedSaveLeavesTheOldFile)
{
    dir.Write("out.xls", "old contents");
    AddSat("Sat");
    bool exported = true;
    {
        const FileSizeLimit limit(512);
        exported = Export();
    }
    EXPECT_FALSE(exported);
    EXPECT_EQ(PendingError().text, "Write file failed!"); // the disk took less than the whole file
    EXPECT_EQ(ReadFileText(path), "old contents");
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        files.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(files, std::vector<std::string>{"out.xls"});
}
#endif

} // namespace

} // namespace core
