#include "FuzzMemoryFile.h"
#include "FuzzScratchDir.h"
#include "access/CAccessDbIn.h"
#include "access/CAccessDftDbOut.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

using core::CAccessDbIn;
using core::CAccessDftDbOut;
using core::CProgDb;

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutLe32(Bytes& bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// One satellite with one transponder and one program, read through the default-database reader.
void FillDb(CProgDb& db)
{
    Bytes file = {'S', 'g', '8', 'K'};
    PutLe32(file, 1);
    PutLe32(file, 1);
    PutLe32(file, 1);
    file.insert(file.end(), {'S', 'a', 't'});
    file.resize(file.size() + 13);
    PutLe32(file, 0);
    PutLe32(file, 192);
    PutLe32(file, 1u << 17); // first transponder 0, one transponder
    PutLe32(file, 0); // transponder
    PutLe32(file, 0); // program: satellite 0, transponder 0
    file.resize(file.size() + 16 + 44);
    file.insert(file.end(), {'E', 'g', '8', 'K'});
    if (!CAccessDbIn().ImportBytes(file, db)) {
        __builtin_trap();
    }
}

Bytes ReadBack(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteImage(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out.flush());
}

// After a merge the image keeps its length and every byte outside the default-database area, and the
// area starts with the new database; after a failure it is as it was.
void CheckImage(std::span<const std::uint8_t> before, const Bytes& after, bool merged)
{
    if (!merged) {
        if (!std::equal(before.begin(), before.end(), after.begin(), after.end())) {
            __builtin_trap();
        }
        return;
    }
    const auto area = CAccessDftDbOut::FindDefaultDbArea(before);
    if (!area || after.size() != before.size()) {
        __builtin_trap();
    }
    const std::size_t end = area->start + area->length;
    if (!std::equal(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(area->start), after.begin())
        || !std::equal(before.begin() + static_cast<std::ptrdiff_t>(end),
                       before.end(),
                       after.begin() + static_cast<std::ptrdiff_t>(end))
        || std::memcmp(after.data() + area->start, "Sg8K", 4) != 0) {
        __builtin_trap();
    }
}

// Merges into the image held in memory, with no backup: nothing touches the disk.
void MergeInMemory(std::span<const std::uint8_t> image)
{
    static FuzzMemoryFile file;
    if (!file.Replace(image.data(), image.size())) {
        return;
    }
    CProgDb db;
    FillDb(db);
    CAccessDftDbOut merger;
    merger.SetBackup(false);
    const bool merged = merger.Export(file.Path(), db);
    CheckImage(image, file.Contents(), merged);
}

// Merges into the image as a file in a folder of its own, where the first merge keeps a backup: the
// backup, when one was made, is the image as it was.
void MergeOnDisk(std::span<const std::uint8_t> image)
{
    const FuzzScratchDir dir;
    if (!dir.Valid()) {
        return;
    }
    const std::string path = dir.File("image.bin");
    if (!WriteImage(path, image.data(), image.size())) {
        return;
    }
    CProgDb db;
    FillDb(db);
    const bool merged = CAccessDftDbOut().Export(path, db);
    CheckImage(image, ReadBack(path), merged);
    const std::string backup = path + ".bak";
    if (std::filesystem::exists(backup)) {
        const Bytes kept = ReadBack(backup);
        if (!merged || !std::equal(image.begin(), image.end(), kept.begin(), kept.end())) {
            __builtin_trap();
        }
    }
}

} // namespace

// Input: one byte choosing where the image is (bit 0: in memory or on disk with a backup), then the
// flash image the database is merged into.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) {
        return 0;
    }
    const std::span<const std::uint8_t> image(data + 1, size - 1);
    if ((data[0] & 1) == 0) {
        MergeInMemory(image);
    } else {
        MergeOnDisk(image);
    }
    core::ClearPendingError();
    return 0;
}
