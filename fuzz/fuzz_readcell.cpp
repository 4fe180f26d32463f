#include "FuzzMemoryFile.h"
#include "excel/CExcelBook.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using core::CExcelBook;

// Opens arbitrary bytes as a workbook and reads (and writes) cells of its sheets; only crashes and
// sanitizer findings count, so the results of the calls are not looked at.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The workbook layer opens workbooks by path: the input is a file in memory.
    static FuzzMemoryFile input;
    if (!input.Replace(data, size)) {
        return 0;
    }

    CExcelBook book;
    if (!book.Open(input.Path())) {
        return 0;
    }
    for (const char* sheet : {"Satellites", "Sat_1", ""}) {
        if (!book.OpenSheet(sheet)) {
            continue;
        }
        std::string out;
        for (int row = 0; row <= 12; ++row) {
            for (int column = -1; column <= 20; ++column) {
                (void)book.ReadCell(row, column, out);
            }
        }
        (void)book.ReadCell(3, 2, out); // backwards after the walk
        for (const int row : {2, 1, 5}) {
            std::string texts[6];
            book.ReadRow(row, texts);
        }
        (void)book.WriteCell(2, 3, "x");
        (void)book.LinkCell(2, 3, "#Sat_1!A1");
        (void)book.ReadCell(2, 3, out);
    }
    const std::string_view row[] = {"a", "", "<&>"};
    (void)book.WriteRow(4, row); // on whatever sheet is open: rows added first, or the row already there
    (void)book.WriteRow(2, row);
    (void)book.CreateSheet("New");
    (void)book.WriteCell(1, 0, "z");
    (void)book.WriteRow(3, row);
    return 0;
}
