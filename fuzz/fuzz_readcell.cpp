#include "excel/CExcelBook.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

using core::CExcelBook;

namespace {

// One scratch file for the whole run: the workbook layer opens workbooks by path.
const std::string& ScratchPath()
{
    static const std::string path = [] {
        char name[] = "/tmp/fuzz_readcell_XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) {
            close(fd);
        }
        return std::string(name);
    }();
    return path;
}

} // namespace

// Opens arbitrary bytes as a workbook and reads (and writes) cells of its sheets.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FILE* file = std::fopen(ScratchPath().c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    CExcelBook book;
    if (!book.Open(ScratchPath())) {
        return 0;
    }
    for (const char* sheet : {"Satellites", "Sat_1", ""}) {
        if (!book.OpenSheet(sheet)) {
            continue;
        }
        std::string out;
        for (int row = 0; row <= 12; ++row) {
            for (int column = -1; column <= 20; ++column) {
                book.ReadCell(row, column, out);
            }
        }
        book.ReadCell(3, 2, out); // backwards after the walk
        book.WriteCell(2, 3, "x");
        book.LinkCell(2, 3, "#Sat_1!A1");
        book.ReadCell(2, 3, out);
    }
    book.CreateSheet("New");
    book.WriteCell(1, 0, "z");
    return 0;
}
