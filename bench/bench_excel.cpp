// Spreadsheet export and import timed against pugixml in the same run.
//
//   bench_excel [satellites transponders programs]     (default 200 8000 100000)
//   bench_excel export S T P FILE                       (writes that workbook, for the next line)
//   bench_excel import FILE                             (one import alone: its peak memory)
//
// Export is compared with pugixml building the same workbook (same sheets, rows, cells and texts)
// and saving it; import with pugixml loading that file and visiting every Data element. Each side
// is run at the given size and at twice that size, so the growth can be read off as well.
#include "db/CProgDb.h"
#include "excel/CAccessExcelIn.h"
#include "excel/CAccessExcelOut.h"
#include "excel/ExcelLayout.h"

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

using core::CAccessExcelIn;
using core::CAccessExcelOut;
using core::CProgDb;
using core::CProgNode;
using core::CSatNode;
using core::CTpNode;
namespace ExcelLayout = core::ExcelLayout;
using core::InvalidId;
using core::PolarText;

namespace {

struct Size
{
    std::uint32_t sats, tps, progs;
};

void BuildDb(CProgDb& db, const Size& size)
{
    for (std::uint32_t s = 0; s < size.sats; ++s) {
        auto sat = std::make_unique<CSatNode>();
        sat->SetName("Sat " + std::to_string(s));
        sat->SetLongitude(s * 7);
        sat->SetLocalFre1(3);
        sat->SetLocalFre2(5);
        db.Sats().Add(std::move(sat));
    }
    for (std::uint32_t t = 0; t < size.tps; ++t) {
        auto tp = std::make_unique<CTpNode>(InvalidId, static_cast<std::int32_t>(t % size.sats));
        tp->SetFrequency(10700 + t % 2000);
        tp->SetSymbolRate(22000 + t / 2000);
        tp->SetPolar(t & 1);
        db.Tps().Add(std::move(tp));
    }
    for (std::uint32_t p = 0; p < size.progs; ++p) {
        auto prog = std::make_unique<CProgNode>(InvalidId, static_cast<std::int32_t>(p % size.tps));
        prog->SetProgName("Program number " + std::to_string(p));
        prog->SetVPID(p & 0x1FFF);
        prog->SetAPID((p + 1) & 0x1FFF);
        prog->SetServiceId(p & 0xFFFF);
        prog->SetFavType(p * 2654435761u);
        db.Progs().Add(std::move(prog));
    }
}

// Processor time of this process, user and system apart: the machine is shared, so wall time
// would count the others, and on this virtual machine page faults (system time) grow faster
// than the data for every program alike.
struct Cpu
{
    double user = 0;
    double total = 0;
    double wall = 0;
};

Cpu CpuNow()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds
        = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    return {seconds(usage.ru_utime), seconds(usage.ru_utime) + seconds(usage.ru_stime), wall};
}

// The best of a few runs, so one disturbed run does not decide.
Cpu Seconds(const std::function<void()>& work)
{
    constexpr int kRuns = 2;
    Cpu best;
    for (int run = 0; run < kRuns; ++run) {
        const Cpu start = CpuNow();
        work();
        const Cpu end = CpuNow();
        const Cpu took{end.user - start.user, end.total - start.total, end.wall - start.wall};
        best = run == 0
            ? took
            : Cpu{std::min(best.user, took.user), std::min(best.total, took.total), std::min(best.wall, took.wall)};
    }
    return best;
}

// The peer: the same workbook as a pugixml tree, from the rows the export writes.
class PugiWorkbook
{
public:
    PugiWorkbook()
    {
        m_doc.append_child(pugi::node_declaration).append_attribute("version") = "1.0";
        m_root = m_doc.append_child("Workbook");
        m_root.append_attribute("xmlns") = "urn:schemas-microsoft-com:office:spreadsheet";
        m_root.append_attribute("xmlns:ss") = "urn:schemas-microsoft-com:office:spreadsheet";
    }
    void Sheet(const std::string& name, std::size_t columns)
    {
        pugi::xml_node sheet = m_root.append_child("Worksheet");
        sheet.append_attribute("ss:Name") = name.c_str();
        m_table = sheet.append_child("Table");
        m_table.append_attribute("ss:ExpandedColumnCount") = columns;
        m_rowCount = m_table.append_attribute("ss:ExpandedRowCount");
        m_rowCount = 0;
        m_rows = 0;
    }
    void Row(const std::vector<std::string>& cells)
    {
        pugi::xml_node row = m_table.append_child("Row");
        row.append_attribute("ss:AutoFitHeight") = "0";
        for (const std::string& text : cells) {
            pugi::xml_node cell = row.append_child("Cell");
            if (!text.empty()) {
                pugi::xml_node data = cell.append_child("Data");
                data.append_attribute("ss:Type") = "String";
                data.text() = text.c_str();
            }
        }
        m_rowCount = ++m_rows;
    }
    bool Save(const std::string& path) { return m_doc.save_file(path.c_str(), " ", pugi::format_indent); }

private:
    pugi::xml_document m_doc;
    pugi::xml_node m_root;
    pugi::xml_node m_table;
    pugi::xml_attribute m_rowCount;
    unsigned m_rows = 0;
};

std::string N(std::uint32_t v)
{
    return std::to_string(static_cast<std::int32_t>(v));
}

void PugiExport(const CProgDb& db, const std::string& path)
{
    using namespace ExcelLayout;
    PugiWorkbook book;
    book.Sheet("Satellites", kSatHeaders.size());
    book.Row(std::vector<std::string>(kSatHeaders.begin(), kSatHeaders.end()));
    for (const CSatNode& s : db.Sats()) {
        book.Row({"A",
                  s.Name(),
                  "Sheet" + N(static_cast<std::uint32_t>(s.Id())),
                  N(s.Longitude()),
                  "9750",
                  "10600",
                  "0",
                  "0",
                  "0",
                  "0",
                  "0",
                  "0",
                  "0",
                  "0",
                  "0",
                  "0"});
    }
    // Rows grouped per satellite, as the export does.
    std::vector<std::vector<const CTpNode*>> tpsOf(db.Sats().Count());
    for (const CTpNode& tp : db.Tps()) {
        tpsOf[static_cast<std::size_t>(tp.ParentId())].push_back(&tp);
    }
    std::vector<std::vector<const CProgNode*>> progsOf(db.Sats().Count());
    for (const CProgNode& p : db.Progs()) {
        const CTpNode* tp = db.Tps().Find(p.ParentId());
        progsOf[static_cast<std::size_t>(tp->ParentId())].push_back(&p);
    }
    for (const CSatNode& s : db.Sats()) {
        const auto k = static_cast<std::size_t>(s.Id());
        book.Sheet("Sheet" + N(static_cast<std::uint32_t>(s.Id())), kProgHeaders.size());
        book.Row(std::vector<std::string>(kProgHeaders.begin(), kProgHeaders.end()));
        for (const CTpNode* tp : tpsOf[k]) {
            book.Row({"", N(tp->Frequency()), N(tp->SymbolRate()), PolarText(tp->Polar())});
        }
        for (const CProgNode* p : progsOf[k]) {
            const CTpNode* tp = db.Tps().Find(p->ParentId());
            book.Row({p->ProgName(),
                      N(tp->Frequency()),
                      N(tp->SymbolRate()),
                      PolarText(tp->Polar()),
                      N(p->VPID()),
                      N(p->APID()),
                      N(p->PCRPID()),
                      N(p->Scramble()),
                      N(p->Hide()),
                      N(p->Track()),
                      N(p->ServiceId()),
                      N(p->PmtPid()),
                      N(p->AvType()),
                      N(p->Lock()),
                      N(p->Skip()),
                      N(p->FavType()),
                      N(p->TunerSel()),
                      N(p->VideoType()),
                      N(p->AudioType())});
        }
    }
    if (!book.Save(path)) {
        std::fprintf(stderr, "pugixml save failed\n");
        std::exit(1);
    }
}

std::size_t PugiVisitData(const std::string& path)
{
    pugi::xml_document doc;
    if (!doc.load_file(path.c_str())) {
        std::fprintf(stderr, "pugixml load failed\n");
        std::exit(1);
    }
    std::size_t bytes = 0;
    for (pugi::xml_node sheet : doc.child("Workbook").children("Worksheet")) {
        for (pugi::xml_node row : sheet.child("Table").children("Row")) {
            for (pugi::xml_node cell : row.children("Cell")) {
                bytes += std::char_traits<char>::length(cell.child("Data").child_value());
            }
        }
    }
    return bytes;
}

struct Times
{
    Cpu ourExport, peerExport, ourImport, peerImport;
};

Times Measure(const Size& size, const std::string& folder)
{
    CProgDb db;
    BuildDb(db, size);
    const std::string ours = folder + "/ours.xls";
    const std::string peer = folder + "/peer.xls";
    Times t{};
    t.ourExport = Seconds([&] {
        if (!CAccessExcelOut().Export(ours, db)) {
            std::fprintf(stderr, "export failed\n");
            std::exit(1);
        }
    });
    t.peerExport = Seconds([&] { PugiExport(db, peer); });
    CProgDb back;
    t.ourImport = Seconds([&] {
        back.Clear();
        if (!CAccessExcelIn().Import(ours, back)) {
            std::fprintf(stderr, "import failed\n");
            std::exit(1);
        }
    });
    std::size_t visited = 0;
    t.peerImport = Seconds([&] { visited = PugiVisitData(ours); });
    std::printf("%6u sats %6u tps %7u progs: export %.3f s (pugixml %.3f s, %.2fx)  import %.3f s (pugixml %.3f s, "
                "%.2fx)  [user time: export %.3f/%.3f s, import %.3f/%.3f s; wall: export %.3f/%.3f s (%.2fx), import "
                "%.3f/%.3f s (%.2fx); %zu programs back, %zu data bytes, %ju bytes file]\n",
                size.sats,
                size.tps,
                size.progs,
                t.ourExport.total,
                t.peerExport.total,
                t.ourExport.total / t.peerExport.total,
                t.ourImport.total,
                t.peerImport.total,
                t.ourImport.total / t.peerImport.total,
                t.ourExport.user,
                t.peerExport.user,
                t.ourImport.user,
                t.peerImport.user,
                t.ourExport.wall,
                t.peerExport.wall,
                t.ourExport.wall / t.peerExport.wall,
                t.ourImport.wall,
                t.peerImport.wall,
                t.ourImport.wall / t.peerImport.wall,
                static_cast<std::size_t>(back.Progs().Count()),
                visited,
                static_cast<std::uintmax_t>(std::filesystem::file_size(ours)));
    return t;
}

// Imports one workbook and reports the peak resident memory of this process against the file size.
int ImportAlone(const std::string& path)
{
    CProgDb db;
    if (!CAccessExcelIn().Import(path, db)) {
        std::fprintf(stderr, "import failed\n");
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peak = static_cast<double>(usage.ru_maxrss) * 1024.0;
    const auto size = static_cast<double>(std::filesystem::file_size(path));
    std::printf("import %s: %zu programs, peak %.1f MB, file %.1f MB, peak / file %.3f\n",
                path.c_str(),
                static_cast<std::size_t>(db.Progs().Count()),
                peak / 1e6,
                size / 1e6,
                peak / size);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "import") {
        return ImportAlone(argv[2]);
    }
    if (argc == 6 && std::string(argv[1]) == "export") {
        CProgDb db;
        BuildDb(db,
                {static_cast<std::uint32_t>(std::atoi(argv[2])),
                 static_cast<std::uint32_t>(std::atoi(argv[3])),
                 static_cast<std::uint32_t>(std::atoi(argv[4]))});
        return CAccessExcelOut().Export(argv[5], db) ? 0 : 1;
    }
    Size size{200, 8000, 100000};
    if (argc == 4) {
        size = {static_cast<std::uint32_t>(std::atoi(argv[1])),
                static_cast<std::uint32_t>(std::atoi(argv[2])),
                static_cast<std::uint32_t>(std::atoi(argv[3]))};
    }
    const std::string folder = (std::filesystem::temp_directory_path() / "bench_excel").string();
    std::filesystem::create_directories(folder);
    const Times single = Measure(size, folder);
    const Times twice = Measure({size.sats * 2, size.tps * 2, size.progs * 2}, folder);
    std::printf("doubling: export %.2fx (pugixml %.2fx), import %.2fx (pugixml %.2fx)\n",
                twice.ourExport.total / single.ourExport.total,
                twice.peerExport.total / single.peerExport.total,
                twice.ourImport.total / single.ourImport.total,
                twice.peerImport.total / single.peerImport.total);
    std::printf("doubling, user time: export %.2fx (pugixml %.2fx), import %.2fx (pugixml %.2fx)\n",
                twice.ourExport.user / single.ourExport.user,
                twice.peerExport.user / single.peerExport.user,
                twice.ourImport.user / single.ourImport.user,
                twice.peerImport.user / single.peerImport.user);
    std::filesystem::remove_all(folder);
    return 0;
}
