#include "access/CAccessDftDbOut.h"

#include "access/CAccessDbOut.h"
#include "access/DbFileLayout.h"
#include "access/FlashImageFile.h"
#include "common/PendingError.h"

#include <algorithm>
#include <functional>
#include <unistd.h>

namespace core {

namespace {
constexpr std::uint8_t kErased = 0xFF;

// Removes the temporary file however Export leaves.
class TempFileGuard
{
public:
    explicit TempFileGuard(std::string path)
        : m_path(std::move(path))
    { }
    ~TempFileGuard() { ::unlink(m_path.c_str()); }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;

private:
    std::string m_path;
};
} // namespace

bool CAccessDftDbOut::Export(const std::string& path, CProgDb& db)
{
    FlashImageFile image;
    if (!image.OpenForUpdate(path)) {
        SetPendingError("Open file failed!");
        return false;
    }
    if (image.Size() == 0) {
        SetPendingError("Empty file!");
        return false;
    }
    auto contents = image.ReadRest(0);
    if (!contents) {
        SetPendingError("Read file failed!");
        return false;
    }
    m_image = std::move(*contents);
    const bool result = MergeInto(image, path + ".tmp", db);
    m_image = ByteBuffer();
    return result;
}

bool CAccessDftDbOut::MergeInto(FlashImageFile& image, const std::string& tempPath, CProgDb& db)
{
    const auto area = FindDefaultDbArea(m_image.Span());
    if (!area) {
        return false;
    }
    const TempFileGuard removeTemp(tempPath);
    std::vector<std::uint8_t> newArea;
    return BuildNewArea(tempPath, db, *area, newArea) && WriteArea(image, area->start, newArea);
}

bool CAccessDftDbOut::BuildNewArea(const std::string& tempPath,
                                   CProgDb& db,
                                   const Area& area,
                                   std::vector<std::uint8_t>& newArea)
{
    CAccessDbOut writer;
    if (!writer.Export(tempPath, db)) {
        return false; // the writer's own message is pending
    }
    FlashImageFile temp;
    if (!temp.OpenForReading(tempPath)) {
        SetPendingError("Open file failed!");
        return false;
    }
    if (temp.Size() > area.length) {
        SetPendingError("The size defaultDb is not large enough for your default data!");
        return false;
    }
    newArea.assign(area.length, kErased); // erased flash after the database, up to the old area end
    const auto size = static_cast<std::size_t>(temp.Size());
    if (temp.ReadAt(0, newArea.data(), size) != size) {
        SetPendingError("Read file failed!");
        return false;
    }
    return true;
}

bool CAccessDftDbOut::WriteArea(FlashImageFile& image, std::size_t start, const std::vector<std::uint8_t>& newArea)
{
    // One write of the whole area, after every check has passed: the image keeps its length and
    // every byte outside the area.
    if (image.WriteAt(start, newArea.data(), newArea.size()) && image.Sync()) {
        return true;
    }
    // A failed write may have landed in part: put the old area back so the image stays usable. The
    // write has already failed; a failure of this repair leaves nothing more to report.
    (void)image.WriteAt(start, m_image.Data() + start, newArea.size());
    (void)image.Sync();
    SetPendingError("Write file failed!");
    return false;
}

std::optional<CAccessDftDbOut::Area> CAccessDftDbOut::FindDefaultDbArea(std::span<const std::uint8_t> image)
{
    const auto start = FindBytes(image, DbFile::kStartMagic);
    if (!start) {
        SetPendingError("Invalid file format!");
        return std::nullopt;
    }
    const std::size_t searchFrom = *start + sizeof DbFile::kStartMagic;
    const auto end = FindBytes(image.subspan(searchFrom), DbFile::kEndMagic);
    if (!end) {
        SetPendingError("Invalid file format!");
        return std::nullopt;
    }
    std::size_t areaEnd = searchFrom + *end + sizeof DbFile::kEndMagic;
    while (areaEnd < image.size() && image[areaEnd] == kErased) {
        ++areaEnd;
    }
    return Area{*start, areaEnd - *start};
}

std::optional<std::size_t> CAccessDftDbOut::FindBytes(std::span<const std::uint8_t> bytes, const char (&pattern)[4])
{
    const auto* first = reinterpret_cast<const std::uint8_t*>(pattern);
    const auto it = std::search(bytes.begin(), bytes.end(), std::boyer_moore_horspool_searcher(first, first + 4));
    if (it == bytes.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(it - bytes.begin());
}

} // namespace core
