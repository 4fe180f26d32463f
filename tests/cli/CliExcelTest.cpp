#include "CliRun.h"
#include "cli/Commands.h"
#include "common/CodePage.h"
#include "db/CProgDb.h"
#include "excel/CAccessExcelOut.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using core::CAccessExcelOut;
using core::CProgDb;
using core::CSatNode;
using core::CTpNode;
using core::InvalidId;
using core::ScopedCodePage;

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace cli {

namespace {

TEST(CliExcel, SampleConvertsToAWorkbookAndBackUnchanged)
{
    const ScopedCodePage latin1("ISO-8859-1");
    ASSERT_TRUE(latin1.Installed());
    const TempDir dir;
    const std::string sample = SamplePath();
    const std::string xls = dir.File("sample.XLS"); // the extension is matched without case
    const std::string back = dir.File("back.db");
    CliResult r = RunCommand({"convert", sample, xls});
    ASSERT_EQ(r.status, 0) << r.err;
    r = RunCommand({"convert", xls, back});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(back), ReadFileBytes(sample));
    EXPECT_EQ(RunCommand({"info", xls}).out, RunCommand({"info", sample}).out);
}

TEST(CliExcel, DumpOfAWorkbook)
{
    const ScopedCodePage latin1("ISO-8859-1");
    ASSERT_TRUE(latin1.Installed());
    const TempDir dir;
    CProgDb db;
    auto sat = std::make_unique<CSatNode>(2);
    sat->SetName("Astra 1");
    sat->SetLocalFre1(3);
    sat->SetLocalFre2(5);
    const std::int32_t satId = db.Sats().Add(std::move(sat));
    auto tp = std::make_unique<CTpNode>(InvalidId, satId);
    tp->SetFrequency(11494);
    tp->SetSymbolRate(22000);
    tp->SetPolar(1);
    db.Tps().Add(std::move(tp));
    const std::string xls = dir.File("small.xls");
    ASSERT_TRUE(CAccessExcelOut().Export(xls, db));

    const CliResult r = RunCommand({"dump", xls});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"satellites\":[{\"Id\":0,\"ParentId\":-1,\"Select\":2,\"Name\":\"Astra 1\",", 0), 0u)
        << r.out;
    EXPECT_NE(r.out.find("\"transponders\":[{\"Id\":0,\"ParentId\":0,\"Frequency\":11494,\"Polar\":1,"
                         "\"SymbolRate\":22000,\"ExtraFlag\":0,\"Record\":\"e66cf82a\"}]"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"programs\":[]"), std::string::npos) << r.out;
}

TEST(CliExcel, WorkbookFailures)
{
    const TempDir dir;
    const std::string sample = SamplePath();
    const std::string broken = dir.Write("broken.xls", std::string_view("<Workbook><Worksheet>"));
    const std::string stray = dir.Write("stray.xls", std::string_view("<Workbook>\r\n <Worksheet>\r\n  </Table>\r\n"));
    const std::string missing = dir.File("missing.xls");
    const std::string noSheet
        = dir.Write("nosheet.xls",
                    std::string_view("<Workbook xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">"
                                     "<Worksheet ss:Name=\"Other\"><Table/></Worksheet></Workbook>"));
    const struct
    {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        // The engine's reason follows the message on a line of its own.
        {{"dump", broken},
         1,
         "Open Excel failed! File = " + broken + "\nelement \"Worksheet\" is not ended at line 1, column 11\n"},
        {{"dump", stray},
         1,
         "Open Excel failed! File = " + stray + "\nend tag \"Table\" has no start tag at line 3, column 3\n"},
        {{"dump", missing}, 1, "Open Excel failed! File = " + missing + "\nNo such file or directory\n"},
        {{"info", noSheet}, 1, "Open work sheet failed! Sheet=Satellites\n"},
        {{"convert", sample, dir.File("no/folder/x.xls")}, 1, "Create File Failed!\n"},
        {{"dump", sample, "--from", "xls"},
         1,
         "Open Excel failed! File = " + sample + "\nunterminated start tag at line 17, column 178\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1]);
        const CliResult r = RunCommand(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
        EXPECT_TRUE(r.out.empty());
    }
}

} // namespace

} // namespace cli
