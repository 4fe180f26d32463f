#include "SampleChannels.h"

#include "common/CodePage.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "excel/CAccessExcelIn.h"
#include "excel/CAccessExcelOut.h"
#include "support/FakeUiHooks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using testsupport::FakeUiHooks;
using testsupport::TempDir;

namespace core {

namespace {

class RoundTripTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_codePage.Installed()); // every byte survives the trip through UTF-8
    }

    // Exports db, imports the file into a fresh database and describes that.
    std::string Trip(CProgDb& db)
    {
        const std::string path = dir.File("trip.xls");
        EXPECT_TRUE(CAccessExcelOut().Export(path, db)) << PendingError().text;
        CProgDb back;
        EXPECT_TRUE(CAccessExcelIn().Import(path, back)) << PendingError().text;
        return DescribeTree(back);
    }

    TempDir dir;
    FakeUiHooks ui;

private:
    ScopedPendingError m_pending;
    ScopedCodePage m_codePage{"ISO-8859-1"};
};

TEST_F(RoundTripTest, RealChannelListComesBackTheSame)
{
    CProgDb db;
    LoadSampleChannels(db);
    ASSERT_GT(db.Progs().Count(), 2000u);
    EXPECT_EQ(FirstDifference(DescribeTree(db, true), Trip(db)), "");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RoundTripTest, NamesPlainTextCannotCarry)
{
    CProgDb db;
    const char* const names[] = {"", R"("\x41")", "Tab\tName", "Line\r\nBreak", "<&>\"'", "\xC4\xE3 \xFF"};
    for (const char* name : names) {
        auto sat = std::make_unique<CSatNode>();
        sat->SetName(name);
        sat->SetLocalFre1(3);
        const std::int32_t satId = db.Sats().Add(std::move(sat));
        auto tp = std::make_unique<CTpNode>(InvalidId, satId);
        tp->SetFrequency(11000);
        const std::int32_t tpId = db.Tps().Add(std::move(tp));
        auto prog = std::make_unique<CProgNode>(InvalidId, tpId);
        prog->SetProgName(name);
        db.Progs().Add(std::move(prog));
    }
    EXPECT_EQ(FirstDifference(DescribeTree(db, true), Trip(db)), "");
}

struct CodePageCase
{
    const char* codePage;
    std::string name; // bytes in that code page
    std::string back; // what the trip gives back
};

// The workbook holds names as UTF-8, so a name keeps its bytes as far as they are text in the
// code page; bytes that are not come back replaced.
const CodePageCase kCodePageCases[] = {
    {"936", "\xC4\xE3\xBA\xC3 CCTV", "\xC4\xE3\xBA\xC3 CCTV"},
    {"1251", "\xCF\xE5\xF0\xE2\xFB\xE9", "\xCF\xE5\xF0\xE2\xFB\xE9"},
    {"ISO-8859-1", "Cin\xE9 \x86X\x87", "Cin\xE9 \x86X\x87"},
    {"936", "Bad \xFF\xFF", "Bad ??"},
};

TEST_F(RoundTripTest, NamesKeepTheirBytesAsFarAsTheCodePageHasThem)
{
    for (const CodePageCase& c : kCodePageCases) {
        SCOPED_TRACE(c.codePage + std::string(" ") + c.back);
        ASSERT_TRUE(SetInternalCodePage(c.codePage));
        CProgDb db;
        auto sat = std::make_unique<CSatNode>();
        sat->SetName(c.name.substr(0, 16));
        const std::int32_t satId = db.Sats().Add(std::move(sat));
        const std::int32_t tpId = db.Tps().Add(std::make_unique<CTpNode>(InvalidId, satId));
        auto prog = std::make_unique<CProgNode>(InvalidId, tpId);
        prog->SetProgName(c.name);
        db.Progs().Add(std::move(prog));

        const std::string path = dir.File("cp.xls");
        ASSERT_TRUE(CAccessExcelOut().Export(path, db)) << PendingError().text;
        CProgDb back;
        ASSERT_TRUE(CAccessExcelIn().Import(path, back)) << PendingError().text;
        ASSERT_EQ(back.Progs().Count(), 1u);
        EXPECT_EQ(back.Sats().begin()->Name(), c.back.substr(0, 16));
        EXPECT_EQ(back.Progs().begin()->ProgName(), c.back);
    }
}

} // namespace

} // namespace core
