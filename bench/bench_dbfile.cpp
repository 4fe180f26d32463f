// Reading and writing a large default-database file, beside cp of the same file.
#include "BenchSupport.h"

#include "access/CAccessDbIn.h"
#include "access/CAccessDbOut.h"
#include "db/CProgDb.h"

#include <cstdio>
#include <filesystem>
#include <string>

using core::CAccessDbIn;
using core::CAccessDbOut;
using core::CProgDb;

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
    const std::string path = dir + "/bench-large.db";
    const std::string copy = dir + "/bench-large-copy.db";
    const int runs = 7;

    CProgDb db;
    FillLargeDb(db, 200, 8000, 100000);
    const double writeMs = MedianMs(runs, [&] {
        if (!CAccessDbOut().Export(path, db)) {
            std::fprintf(stderr, "export failed\n");
        }
    });
    const double readMs = MedianMs(runs, [&] {
        CProgDb back;
        if (!CAccessDbIn().Import(path, back)) {
            std::fprintf(stderr, "import failed\n");
        }
    });
    // cp through the shell, and cp with the shell's own start-up taken away.
    const double cpMs = MedianCommandMs(runs, "cp '" + path + "' '" + copy + "'");
    const double shellMs = MedianCommandMs(runs, "true");
    std::printf("file: %s, %ju bytes (200 satellites, 8000 transponders, 100000 programs)\n",
                path.c_str(),
                static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
    ReportRatio("CAccessDbOut::Export", writeMs, "cp (incl. process start)", cpMs, 3.0);
    ReportRatio("CAccessDbIn::Import", readMs, "cp (incl. process start)", cpMs, 3.0);
    std::printf("(a shell running 'true' takes %.2f ms of cp's time)\n", shellMs);
    std::filesystem::remove(path);
    std::filesystem::remove(copy);
    return 0;
}
