#include "access/CAccessDftDbOut.h"

#include "access/CAccessDbOut.h"
#include "access/DbFileLayout.h"
#include "access/FlashImageFile.h"
#include "common/PendingError.h"
#include "platform/NativeFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <utility>

namespace core {

namespace {
constexpr std::uint8_t kErased = 0xFF;

// Writes all of data to a descriptor; false when the system took less than all of it (a full disk,
// the file-size limit).
bool WriteAll(int fd, const std::uint8_t* data, std::size_t length)
{
    std::size_t done = 0;
    while (done < length) {
        const std::ptrdiff_t n = platform::WriteSome(fd, data + done, length - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}
} // namespace

bool CAccessDftDbOut::Export(const std::string& path, CProgDb& db)
{
    m_backupPath.clear();
    FlashImageFile image;
    if (!image.OpenForUpdate(path)) {
        SetPendingError("Open file failed!");
        return false;
    }
    if (image.Size() == 0) {
        SetPendingError("Empty file!");
        return false;
    }
    if (image.Size() > kMaxImageSize) {
        SetPendingError("File size error!");
        return false;
    }
    auto contents = image.ReadRest(0);
    if (!contents) {
        SetPendingError("Read file failed!");
        return false;
    }
    m_image = std::move(*contents);
    const bool result = MergeInto(image, path, db);
    m_image = ByteBuffer();
    return result;
}

bool CAccessDftDbOut::MergeInto(FlashImageFile& image, const std::string& path, CProgDb& db)
{
    const auto area = FindDefaultDbArea(m_image.Span());
    if (!area) {
        return false;
    }
    std::vector<std::uint8_t> newArea;
    return BuildNewArea(db, *area, newArea) && KeepBackup(path) && WriteArea(image, area->start, newArea);
}

bool CAccessDftDbOut::BuildNewArea(CProgDb& db, const Area& area, std::vector<std::uint8_t>& newArea)
{
    // The database is built in memory: no file beside the image is written, so none of the user's
    // can be overwritten or removed.
    std::string bytes;
    CAccessDbOut writer;
    if (!writer.BuildBytes(db, bytes)) {
        return false; // the writer's own message is pending
    }
    if (bytes.size() > area.length) {
        SetPendingError("The size defaultDb is not large enough for your default data!");
        return false;
    }
    newArea.assign(area.length, kErased); // erased flash after the database, up to the old area end
    std::copy(bytes.begin(), bytes.end(), newArea.begin());
    return true;
}

bool CAccessDftDbOut::KeepBackup(const std::string& path)
{
    if (!m_backup) {
        return true;
    }
    std::string backupPath = path + ".bak"; // moved, not copied, once the file exists: no allocation
    // Only the first merge makes the copy: an existing backup holds an older image and stays as it is.
    const int fd = platform::OpenFile(backupPath, O_WRONLY | O_CREAT | O_EXCL);
    if (fd < 0 && platform::LastErrorNumber() == EEXIST) {
        m_backupPath = std::move(backupPath);
        return true;
    }
    if (fd < 0) {
        SetPendingError("Open file failed!");
        return false;
    }
    const bool written = WriteAll(fd, m_image.Data(), m_image.Size()) && platform::SyncFile(fd);
    const bool closed = platform::CloseFile(fd);
    if (!written || !closed) {
        (void)platform::RemoveFile(backupPath); // a part of the image is no backup
        SetPendingError("Write file failed!");
        return false;
    }
    m_backupPath = std::move(backupPath);
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
