// Reading the user databases of a 16 MiB flash image and merging a default database into it,
// beside a plain read of the same image file.
#include "BenchSupport.h"

#include "access/CAccessDbIn.h"
#include "access/CAccessDbOut.h"
#include "access/CAccessDftDbOut.h"
#include "access/CAccessUserDb25In.h"
#include "access/CAccessUserDbIn.h"
#include "access/FlashImageFile.h"
#include "common/AtomicFile.h"
#include "common/UiHooks.h"
#include "db/CProgDb.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using core::CAccessDbIn;
using core::CAccessDbOut;
using core::CAccessDftDbOut;
using core::CAccessUserDb25In;
using core::CAccessUserDbIn;
using core::CProgDb;
using core::FlashImageFile;
using core::IUiHooks;
using core::ScopedUiHooks;
using core::UiIcon;
using core::WriteFileAtomically;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kImageSize = 16 << 20;
constexpr std::size_t kLargeImageSize = 24 << 20;
constexpr std::size_t kDefaultDbAt = 0x100000; // a 4 MiB default-database area
constexpr std::size_t kUserDbAt = 0x600000;
constexpr std::uint32_t kMagic = 0xAABBCCDD;
constexpr std::uint32_t kEnd = 0xDDCCBBAA;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

class FixedAddress final : public IUiHooks
{
public:
    explicit FixedAddress(std::uint32_t address)
        : m_address(address)
    { }
    std::uint32_t AskUserDbAddress() override { return m_address; }
    void ShowMessage(std::string_view, std::string_view, UiIcon) override { }

private:
    std::uint32_t m_address;
};

void Put32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

void Put16(Bytes& b, std::size_t at, std::uint32_t v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// Receivers count their ids from 1: each id is the next node's assigned one.
std::uint32_t ReceiverId(std::uint32_t k)
{
    return (k + 1) & 0xFFFF;
}

// An erased image with an old default database at kDefaultDbAt and, at kUserDbAt, a user database
// of sats satellites, tps transponders and progs programs in the chosen layout.
Bytes MakeImage(std::size_t imageSize, bool layout25, std::uint32_t sats, std::uint32_t tps, std::uint32_t progs)
{
    Bytes image(imageSize, 0xFF);
    std::memcpy(image.data() + kDefaultDbAt, "Sg8K\0\0\0\0\0\0\0\0\0\0\0\0Eg8K", 20);
    const std::size_t area = kUserDbAt;
    const std::uint32_t counts[3] = {sats, tps, progs};
    const std::uint32_t sizes[3] = {32, 16, 48};
    std::size_t header = area + (layout25 ? 0 : 24);
    std::size_t record = area + 0x80000;
    if (!layout25) {
        Put32(image, area, kMagic); // the root header
        Put32(image, area + 4, static_cast<std::uint32_t>(header - area));
        Put32(image, area + 8, 0);
    }
    for (std::uint32_t t = 0; t < 3; ++t) {
        const std::size_t headerSize = layout25 ? 28 : 20;
        const std::size_t next = header + headerSize + 4 * counts[t] + 4;
        Put32(image, header, kMagic);
        Put32(image, header + 4, layout25 || t == 2 ? kNone : static_cast<std::uint32_t>(next - area));
        Put32(image, header + 8, layout25 ? t : t + 1);
        if (layout25) {
            Put16(image, header + 18, counts[t]);
            Put16(image, header + 20, sizes[t]);
            image[header + 26] = 4;
            image[header + 27] = 1;
        } else {
            Put16(image, header + 12, counts[t]);
            Put16(image, header + 14, 0xFFFF);
            Put16(image, header + 16, sizes[t]);
        }
        for (std::uint32_t i = 0; i < counts[t]; ++i) {
            Put32(image, header + headerSize + 4 * i, static_cast<std::uint32_t>(record - area));
            std::memset(image.data() + record, 0, sizes[t]);
            if (t == 0) {
                Put32(image, record, ReceiverId(i) << 16 | 192u << 1);
                std::memcpy(image.data() + record + (layout25 ? 12 : 16), "Satellite", 9);
            } else if (t == 1) {
                Put32(image, record, ReceiverId(i % sats) << 16 | ReceiverId(i));
                Put32(image, record + 4, 11000u << 16 | 27500u);
            } else {
                Put32(image, record, ReceiverId(i % tps));
                Put32(image, record + 4, i << 16);
                std::memcpy(image.data() + record + 28, "Program name", 12);
            }
            record += sizes[t];
        }
        Put32(image, header + headerSize + 4 * counts[t], kEnd);
        header = next;
    }
    return image;
}

struct Figures
{
    double plainMs;
    double dbReadMs; // the same database as a default-database file, read by CAccessDbIn
    double dbWriteMs; // and written by CAccessDbOut
    double readMs;
    double read25Ms;
    double mergeMs;
};

Figures Measure(const std::string& dir, std::size_t imageSize, std::uint32_t tps, std::uint32_t progs, int runs)
{
    const std::string path = dir + "/bench-flash.bin";
    const std::string path25 = dir + "/bench-flash25.bin";
    const std::string target = dir + "/bench-merge.bin";
    const Bytes image = MakeImage(imageSize, false, 100, tps, progs);
    const Bytes image25 = MakeImage(imageSize, true, 100, tps, progs);
    const auto view
        = [](const Bytes& b) { return std::string_view(reinterpret_cast<const char*>(b.data()), b.size()); };
    if (!WriteFileAtomically(path, view(image)) || !WriteFileAtomically(path25, view(image25))
        || !WriteFileAtomically(target, view(image))) {
        std::fprintf(stderr, "cannot write the images\n");
        std::exit(1);
    }

    Figures f{};
    // The plain read: open the image and read all of it into one fresh buffer, as the readers do.
    f.plainMs = MedianMs(runs, [&] {
        FlashImageFile file;
        if (!file.OpenForReading(path) || !file.ReadRest(0)) {
            std::fprintf(stderr, "plain read failed\n");
        }
    });
    CProgDb db;
    FixedAddress autoSearch(0);
    FixedAddress at(kUserDbAt);
    {
        const ScopedUiHooks scope(autoSearch);
        f.readMs = MedianMs(runs, [&] {
            db.Clear();
            if (!CAccessUserDbIn().Import(path, db) || db.Progs().Count() != progs || db.Tps().Count() != tps) {
                std::fprintf(stderr, "user-database import failed\n");
            }
        });
    }
    {
        const ScopedUiHooks scope(at);
        f.read25Ms = MedianMs(runs, [&] {
            CProgDb db25;
            if (!CAccessUserDb25In().Import(path25, db25) || db25.Progs().Count() != progs) {
                std::fprintf(stderr, "2.5 user-database import failed\n");
            }
        });
    }
    const std::string dbPath = dir + "/bench-flash.db";
    f.dbWriteMs = MedianMs(runs, [&] {
        if (!CAccessDbOut().Export(dbPath, db)) {
            std::fprintf(stderr, "default-database export failed\n");
        }
    });
    f.dbReadMs = MedianMs(runs, [&] {
        CProgDb back;
        if (!CAccessDbIn().Import(dbPath, back)) {
            std::fprintf(stderr, "default-database import failed\n");
        }
    });
    std::filesystem::remove(dbPath);
    f.mergeMs = MedianMs(runs, [&] {
        if (!CAccessDftDbOut().Export(target, db)) {
            std::fprintf(stderr, "merge failed\n");
        }
    });
    std::filesystem::remove(path);
    std::filesystem::remove(path25);
    std::filesystem::remove(target);
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
    const int runs = 15;
    const Figures full = Measure(dir, kImageSize, 5000, 50000, runs);
    const Figures half = Measure(dir, kImageSize, 2500, 25000, runs);
    const Figures large = Measure(dir, kLargeImageSize, 5000, 50000, runs);
    std::printf("16 MiB image; user database of 100 satellites, 5000 transponders, 50000 programs\n");
    std::printf("plain read of the whole image: %.2f ms; same database as a .db file: read %.2f ms, write %.2f ms\n",
                full.plainMs,
                full.dbReadMs,
                full.dbWriteMs);
    // Both build the same 55100 nodes; a flash read also copies the 10 MiB rest of the image.
    ReportRatio("CAccessUserDbIn::Import (Auto)", full.readMs, "CAccessDbIn::Import, same db", full.dbReadMs, 3.0);
    ReportRatio("CAccessUserDb25In::Import", full.read25Ms, "CAccessDbIn::Import, same db", full.dbReadMs, 3.0);
    // A merge writes the database to its temporary file, then reads the image and writes the area back.
    ReportRatio(
        "CAccessDftDbOut::Export (4 MiB area)", full.mergeMs, "CAccessDbOut::Export, same db", full.dbWriteMs, 4.0);
    std::printf("half the database (2500 transponders, 25000 programs), same image:\n");
    ReportRatio("CAccessUserDbIn::Import (Auto)", half.readMs, "the full database", full.readMs, 0.7);
    ReportRatio("CAccessUserDb25In::Import", half.read25Ms, "the full database", full.read25Ms, 0.7);
    std::printf("the full database in a 24 MiB image:\n");
    ReportRatio("plain read of the image", large.plainMs, "16 MiB image", full.plainMs, 2.0);
    ReportRatio("CAccessUserDbIn::Import (Auto)", large.readMs, "16 MiB image", full.readMs, 2.0);
    ReportRatio("CAccessUserDb25In::Import", large.read25Ms, "16 MiB image", full.read25Ms, 2.0);
    ReportRatio("CAccessDftDbOut::Export (4 MiB area)", large.mergeMs, "16 MiB image", full.mergeMs, 2.0);
    return 0;
}
