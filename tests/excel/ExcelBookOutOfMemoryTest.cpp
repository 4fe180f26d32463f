#include "common/PendingError.h"
#include "excel/CExcelBook.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

// This test program's allocator can be told to fail: the allocation after the next n succeeds
// throws std::bad_alloc, as a real shortage would inside the XML engine.
namespace {
std::atomic<long> g_allocationsBeforeFailure{-1};
} // namespace

void* operator new(std::size_t size)
{
    const long left = g_allocationsBeforeFailure.load();
    if (left == 0) {
        g_allocationsBeforeFailure = -1;
        throw std::bad_alloc();
    }
    if (left > 0) {
        g_allocationsBeforeFailure = left - 1;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

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
            g_allocationsBeforeFailure = failAt;
            const bool ok = book.WriteCell(row, column, "text that is long enough to need the heap");
            const bool failed = g_allocationsBeforeFailure.load() == -1;
            g_allocationsBeforeFailure = -1;
            if (ok) {
                EXPECT_FALSE(PendingError().pending);
                written.emplace_back(row, column);
                break;
            }
            ASSERT_TRUE(failed);
            EXPECT_EQ(PendingError().text, "std::bad_alloc");
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

} // namespace

} // namespace core
