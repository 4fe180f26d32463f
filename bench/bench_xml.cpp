// Benchmarks of the XML engine and the workbook layer against pugixml, in the same run:
//   bench_xml load FILE          LoadFile of a workbook vs pugixml's load_file (time, peak memory)
//   bench_xml write CELLS DIR    CExcelBook writing CELLS cells (CreateSheet, WriteCell, Save) vs
//                                pugixml building and saving the same document
// Each measurement runs in a child process of its own so that its peak memory is its own; each is
// repeated (BENCH_REPEAT, default 3), alternating ours and the peer, and the fastest run counts.
#include "excel/CExcelBook.h"
#include "excel/xml/CXmlDocument.h"

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

using core::CExcelBook;
using core::CXmlDocument;

namespace {

constexpr int kColumns = 19;

struct Measure
{
    double seconds = 0; // processor time (user + system) of the run: the machine is shared
    double wall = 0;
    long peakKb = 0;
    bool ok = false;
};

// Runs work in a child; reports its processor time, its wall time (measured inside) and its peak
// resident memory.
Measure Run(const std::function<bool()>& work)
{
    int pipeFd[2];
    if (pipe(pipeFd) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFd[0]);
        const auto start = std::chrono::steady_clock::now();
        const bool ok = work();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double result[2] = {seconds, ok ? 1.0 : 0.0};
        if (write(pipeFd[1], result, sizeof(result)) != sizeof(result)) {
            _exit(2);
        }
        _exit(0);
    }
    close(pipeFd[1]);
    double result[2] = {0, 0};
    const bool got = read(pipeFd[0], result, sizeof(result)) == sizeof(result);
    close(pipeFd[0]);
    int status = 0;
    struct rusage usage
    { };
    wait4(pid, &status, 0, &usage);
    const auto cpu
        = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return Measure{cpu(usage.ru_utime) + cpu(usage.ru_stime), result[0], usage.ru_maxrss, got && result[1] != 0};
}

// The fastest of several runs of each, alternating so that load on the machine hits both alike.
std::pair<Measure, Measure> RunBoth(const std::function<bool()>& ours, const std::function<bool()>& peer)
{
    const char* env = std::getenv("BENCH_REPEAT");
    const int repeat = env != nullptr ? std::max(1, std::atoi(env)) : 3;
    Measure bestOurs;
    Measure bestPeer;
    for (int i = 0; i < repeat; ++i) {
        for (auto [work, best] : {std::pair{&peer, &bestPeer}, std::pair{&ours, &bestOurs}}) {
            const Measure m = Run(*work);
            if (i == 0 || m.seconds < best->seconds) {
                *best = Measure{m.seconds, m.wall, std::max(m.peakKb, best->peakKb), m.ok && (i == 0 || best->ok)};
            } else {
                best->peakKb = std::max(best->peakKb, m.peakKb);
                best->ok = best->ok && m.ok;
            }
        }
    }
    return {bestOurs, bestPeer};
}

std::string CellText(long cell)
{
    const long column = cell % kColumns;
    if (column == 0) {
        return "Programme " + std::to_string(cell / kColumns % 100000);
    }
    return std::to_string(cell * 7 % 65536);
}

bool WriteWithBook(long cells, const std::string& path)
{
    CExcelBook book;
    if (!book.Create(path) || !book.CreateSheet("Sat_1")) {
        return false;
    }
    for (long cell = 0; cell < cells; ++cell) {
        if (!book.WriteCell(static_cast<int>(cell / kColumns) + 1, static_cast<int>(cell % kColumns), CellText(cell))) {
            return false;
        }
    }
    return book.Save();
}

bool WriteWithPugi(long cells, const std::string& templatePath, const std::string& path)
{
    pugi::xml_document doc;
    if (!doc.load_file(templatePath.c_str())) {
        return false;
    }
    pugi::xml_node sheet = doc.child("Workbook").append_child("Worksheet");
    sheet.append_attribute("ss:Name") = "Sat_1";
    pugi::xml_node table = sheet.append_child("Table");
    pugi::xml_attribute columnCount = table.append_attribute("ss:ExpandedColumnCount");
    pugi::xml_attribute rowCount = table.append_attribute("ss:ExpandedRowCount");
    pugi::xml_node row;
    for (long cell = 0; cell < cells; ++cell) {
        if (cell % kColumns == 0) {
            row = table.append_child("Row");
            row.append_attribute("ss:AutoFitHeight") = "0";
            rowCount = cell / kColumns + 1;
        }
        pugi::xml_node data = row.append_child("Cell").append_child("Data");
        data.append_attribute("ss:Type") = "String";
        data.text() = CellText(cell).c_str();
    }
    columnCount = kColumns;
    return doc.save_file(path.c_str(), "", pugi::format_raw);
}

long FileSize(const std::string& path)
{
    struct stat st
    { };
    return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : 0;
}

void Report(const char* what, const Measure& ours, const Measure& peer, long fileBytes)
{
    std::printf("%s: ours %.3f s cpu (%.3f s wall), %ld MB peak%s | pugixml %.3f s cpu (%.3f s wall), %ld MB peak%s"
                " | cpu time ratio %.2f",
                what,
                ours.seconds,
                ours.wall,
                ours.peakKb / 1024,
                ours.ok ? "" : " (FAILED)",
                peer.seconds,
                peer.wall,
                peer.peakKb / 1024,
                peer.ok ? "" : " (FAILED)",
                ours.seconds / peer.seconds);
    if (fileBytes > 0) {
        std::printf(", our peak / file size %.2f",
                    static_cast<double>(ours.peakKb) * 1024 / static_cast<double>(fileBytes));
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "load" && argc == 3) {
        const std::string path = argv[2];
        const auto [ours, peer]
            = RunBoth([&] { return CXmlDocument().LoadFile(path); },
                      [&] { return static_cast<bool>(pugi::xml_document().load_file(path.c_str())); });
        Report(("load " + path).c_str(), ours, peer, FileSize(path));
        return ours.ok && peer.ok ? 0 : 1;
    }
    if (mode == "write" && argc == 4) {
        const long cells = std::atol(argv[2]);
        const std::string dir = argv[3];
        const std::string templatePath = dir + "/template.xls";
        if (!CExcelBook().Create(templatePath)) {
            std::fprintf(stderr, "cannot write %s\n", templatePath.c_str());
            return 1;
        }
        const auto [ours, peer] = RunBoth([&] { return WriteWithBook(cells, dir + "/ours.xls"); },
                                          [&] { return WriteWithPugi(cells, templatePath, dir + "/peer.xls"); });
        Report(("write " + std::to_string(cells) + " cells").c_str(), ours, peer, 0);
        return ours.ok && peer.ok ? 0 : 1;
    }
    std::fprintf(stderr, "usage: bench_xml load FILE | bench_xml write CELLS DIR\n");
    return 2;
}
