#include "common/AtomicFile.h"

#include "platform/FileReplacement.h"
#include "platform/NativeFile.h"

#include <fcntl.h>
#include <utility>

namespace core {

AtomicFile::AtomicFile(std::string path)
    : m_path(std::move(path))
{ }

AtomicFile::~AtomicFile()
{
    if (m_fd >= 0) {
        (void)platform::CloseFile(m_fd);
    }
    if (!m_committed && !m_tempPath.empty()) {
        (void)platform::RemoveFile(m_tempPath);
    }
}

bool AtomicFile::Open()
{
    platform::UniqueFile temp = platform::CreateUniqueFile(m_path + ".");
    if (temp.fd < 0) {
        return false;
    }
    m_fd = temp.fd;
    m_tempPath = std::move(temp.path); // no allocation between creating the file and owning it
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    platform::TakePermissionsOf(m_fd, m_path);
    return true;
}

bool AtomicFile::Write(std::string_view data)
{
    if (m_fd < 0) {
        return false;
    }
    while (!data.empty()) {
        const std::ptrdiff_t n = platform::WriteSome(m_fd, data.data(), data.size());
        if (n <= 0) {
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool AtomicFile::Commit()
{
    if (m_fd < 0) {
        return false;
    }
    const bool synced = platform::SyncFile(m_fd);
    const bool closed = platform::CloseFile(m_fd);
    m_fd = -1;
    if (!synced || !closed || !platform::ReplaceWith(m_path, m_tempPath)) {
        return false;
    }
    m_committed = true;
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view data)
{
    AtomicFile file(path);
    return file.Open() && file.Write(data) && file.Commit();
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& data)
{
    const int fd = platform::OpenFile(path, O_RDONLY);
    if (fd < 0) {
        return false;
    }
    data.clear();
    if (platform::IsRegularFile(fd)) {
        const std::int64_t size = platform::FileSize(fd);
        if (size > 0) {
            data.reserve(static_cast<std::size_t>(size));
        }
    }
    std::uint8_t buffer[65536];
    bool ok = true;
    for (;;) {
        const std::ptrdiff_t n = platform::ReadSome(fd, buffer, sizeof buffer);
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        data.insert(data.end(), buffer, buffer + n);
    }
    (void)platform::CloseFile(fd);
    return ok;
}

} // namespace core
