#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "excel/CAccessExcelOut.h"
#include "excel/CExcelBook.h"
#include "support/FailingAllocator.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <vector>

using testsupport::AllocationCount;
using testsupport::EndAllocationFailure;
using testsupport::FailAllocationAfter;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace core {
namespace {

TEST(ExcelBookOutOfMemory, WriteCellTurnsTheExceptionIntoAPendingError)
{
    const ScopedPendingError pending;
    TempDir dir;
    CExcelBook book;
    ASSERT_TRUE(book.Create(dir.File("b.xls")));
    ASSERT_TRUE(book.OpenSheet("Satellites"));
    std::vector<std::pair<int, int>> written;
    int failures = 0;
    // Each write first fails at its first allocation, then at its second, and so on until it goes
    // through; the cells move on (new rows, new columns, wider counts) so that every path of
    // WriteCell meets a failure.
    const std::pair<int, int> cells[] = {{1, 0}, {1, 1}, {1, 9}, {2, 3}, {5, 12}, {5, 13}, {12, 2}, {12, 30}};
    for (const auto& [row, column] : cells) {
        for (long failAt = 0;; ++failAt) {
            ClearPendingError();
            FailAllocationAfter(failAt);
            const bool ok = book.WriteCell(row, column, "text that is long enough to need the heap");
            const bool failed = EndAllocationFailure();
            if (ok) {
                EXPECT_FALSE(PendingError().pending);
                written.emplace_back(row, column);
                break;
            }
            ASSERT_TRUE(failed);
            EXPECT_EQ(PendingError().text, "Out of memory!");
            ++failures;
        }
    }
    EXPECT_GT(failures, 10);
    // Whatever failed, the document stays whole: it saves, reloads and holds every cell written.
    ClearPendingError();
    ASSERT_TRUE(book.Save());
    CExcelBook again;
    ASSERT_TRUE(again.Open(dir.File("b.xls")));
    ASSERT_TRUE(again.OpenSheet("Satellites"));
    const std::vector<std::uint8_t> bytes = ReadFileBytes(dir.File("b.xls"));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("ss:ExpandedColumnCount=\"31\" ss:ExpandedRowCount=\"12\""), std::string::npos) << text;
    // One Data element per cell written, each complete: a retried write never doubles a cell.
    std::size_t data = 0;
    for (std::size_t at = text.find("<Data"); at != std::string::npos; at = text.find("<Data", at + 1)) {
        EXPECT_EQ(text.compare(at, 25, "<Data ss:Type=\"String\">te"), 0);
        ++data;
    }
    EXPECT_EQ(data, written.size());
    EXPECT_EQ(text.find("<Row>"), std::string::npos) << "a row without its attribute";
    for (const auto& [r, c] : written) {
        std::string out;
        EXPECT_TRUE(again.ReadCell(r, c, out)) << r << "," << c;
    }
}

void FillSmallDb(CProgDb& db)
{
    for (int s = 0; s < 2; ++s) {
        auto sat = std::make_unique<CSatNode>();
        sat->SetName("Sat " + std::to_string(s));
        sat->SetLongitude(static_cast<std::uint32_t>(100 + s));
        const std::int32_t satId = db.Sats().Add(std::move(sat));
        for (int t = 0; t < 2; ++t) {
            auto tp = std::make_unique<CTpNode>(InvalidId, satId);
            tp->SetFrequency(static_cast<std::uint32_t>(11000 + 10 * t));
            const std::int32_t tpId = db.Tps().Add(std::move(tp));
            auto prog = std::make_unique<CProgNode>(InvalidId, tpId);
            prog->SetProgName("Prog " + std::to_string(s) + std::to_string(t));
            prog->SetVPID(static_cast<std::uint32_t>(512 + t));
            db.Progs().Add(std::move(prog));
        }
    }
}

// A shortage anywhere in an export either fails it, leaving the previous file in place, or is
// taken up without loss: an export that reports success has written every cell.
TEST(ExcelBookOutOfMemory, AnExportEitherFailsOrWritesEveryCell)
{
    const ScopedPendingError pending;
    TempDir dir;
    CProgDb db;
    FillSmallDb(db);
    const std::string path = dir.File("out.xls");
    ASSERT_TRUE(CAccessExcelOut().Export(path, db));
    const std::vector<std::uint8_t> complete = ReadFileBytes(path);
    const std::string previous = "the user's previous workbook";

    const long before = AllocationCount();
    ASSERT_TRUE(CAccessExcelOut().Export(path, db));
    const long perExport = AllocationCount() - before;
    const long stride = std::max(1L, perExport / 500);
    int failed = 0;
    for (long failAt = 0; failAt < perExport; failAt += stride) {
        SCOPED_TRACE(failAt);
        dir.Write("out.xls", previous);
        ClearPendingError();
        bool exported = false;
        FailAllocationAfter(failAt);
        try {
            exported = CAccessExcelOut().Export(path, db);
        } catch (const std::bad_alloc&) {
            // Not every step of an export takes up a shortage yet; what matters here is that none
            // of them is reported as success.
        }
        const bool injected = EndAllocationFailure();
        if (exported) {
            EXPECT_EQ(ReadFileBytes(path), complete);
        } else {
            ASSERT_TRUE(injected);
            const std::vector<std::uint8_t> left = ReadFileBytes(path);
            EXPECT_EQ(std::string(left.begin(), left.end()), previous);
            ++failed;
        }
    }
    EXPECT_GT(failed, 0);
}

} // namespace

} // namespace core
