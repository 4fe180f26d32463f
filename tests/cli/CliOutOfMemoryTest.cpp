#include "access/CAccessDbOut.h"
#include "cli/Commands.h"
#include "common/CodePage.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "support/ByteBuilder.h"
#include "support/FailingAllocator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

using core::CAccessDbOut;
using core::CProgDb;
using testsupport::ByteBuilder;
using testsupport::EndAllocationFailure;
using testsupport::FailAllocationAfter;
using testsupport::FilesIn;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace cli {

namespace {

// A small database: two satellites, each with two transponders carrying one program.
void FillSmallDb(CProgDb& db)
{
    for (int s = 0; s < 2; ++s) {
        auto sat = std::make_unique<core::CSatNode>();
        sat->SetName("Sat " + std::to_string(s));
        const std::int32_t satId = db.Sats().Add(std::move(sat));
        for (int t = 0; t < 2; ++t) {
            auto tp = std::make_unique<core::CTpNode>(core::InvalidId, satId);
            tp->SetFrequency(static_cast<std::uint32_t>(11000 + 10 * t));
            const std::int32_t tpId = db.Tps().Add(std::move(tp));
            auto prog = std::make_unique<core::CProgNode>(core::InvalidId, tpId);
            prog->SetProgName("Program with a name long enough for the heap " + std::to_string(s + t));
            db.Progs().Add(std::move(prog));
        }
    }
}

// Each command runs with its first allocation failing, then its second, and so on until it goes
// through: every failure says "Out of memory!" with status 1 and leaves every file as it was.
TEST(CliOutOfMemory, EveryAllocationFailingInTurnFailsTheCommandAndChangesNoFile)
{
    const TempDir dir;
    CProgDb db;
    FillSmallDb(db);
    // The error slot and the code page are per thread: their first use registers their clean-up at
    // the thread's end, which some runtimes (mingw-w64's) do with a non-throwing allocation of
    // their own whose failure only skips that clean-up. They are set up before any command runs.
    (void)core::InternalCodePage();
    (void)core::PendingError();
    const std::string in = dir.File("in.db");
    ASSERT_TRUE(CAccessDbOut().Export(in, db));
    ByteBuilder image;
    image.Text("boot").Text("Sg8K").Fill(16, 0x11).Text("Eg8K").Fill(1024, 0xFF).Text("rest");
    const std::string imagePath = dir.Write("image.bin", image.View());

    struct Case
    {
        const char* name;
        std::vector<std::string> args;
        std::string target;
    };
    const Case cases[] = {
        {"import and export of a default-database file", {"convert", in, dir.File("out.db")}, dir.File("out.db")},
        {"import and export of a workbook", {"convert", in, dir.File("out.xls")}, dir.File("out.xls")},
        {"merge", {"merge", in, imagePath}, imagePath},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.target != imagePath) {
            (void)dir.Write(std::filesystem::path(c.target).filename().string(), std::string_view("old"));
        }
        const std::vector<std::uint8_t> before = ReadFileBytes(c.target);
        const std::vector<std::string> filesBefore = FilesIn(dir.Path());
        long failures = 0;
        for (long failAt = 0;; ++failAt) {
            std::ostringstream out;
            std::ostringstream err;
            // Room for the messages, as the standard streams need none: only the command allocates.
            out.str(std::string(256, ' '));
            out.seekp(0);
            err.str(std::string(256, ' '));
            err.seekp(0);
            FailAllocationAfter(failAt);
            const int status = RunCli(c.args, out, err);
            const bool failed = EndAllocationFailure();
            if (!failed) {
                ASSERT_EQ(status, 0) << err.str();
                break;
            }
            ++failures;
            ASSERT_EQ(status, 1) << "allocation " << failAt;
            ASSERT_EQ(err.str().substr(0, 15), "Out of memory!\n") << "allocation " << failAt;
            ASSERT_EQ(ReadFileBytes(c.target), before) << "allocation " << failAt;
            ASSERT_EQ(FilesIn(dir.Path()), filesBefore) << "allocation " << failAt;
        }
        EXPECT_GT(failures, 10);
        EXPECT_NE(ReadFileBytes(c.target), before); // the run that went through wrote it
    }
}

} // namespace

} // namespace cli
