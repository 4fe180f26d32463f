#include "access/FlashImageFile.h"

#include "platform/NativeFile.h"

#include <fcntl.h>

namespace core {

FlashImageFile::~FlashImageFile()
{
    if (m_fd >= 0) {
        (void)platform::CloseFile(m_fd);
    }
}

bool FlashImageFile::OpenForReading(const std::string& path)
{
    return Open(path, O_RDONLY);
}

bool FlashImageFile::OpenForUpdate(const std::string& path)
{
    return Open(path, O_RDWR);
}

bool FlashImageFile::Open(const std::string& path, int flags)
{
    const int fd = platform::OpenFile(path, flags);
    if (fd < 0) {
        return false;
    }
    // A folder or a device is not an image we can take the length of.
    const std::int64_t size = platform::IsRegularFile(fd) ? platform::FileSize(fd) : -1;
    if (size < 0) {
        (void)platform::CloseFile(fd);
        return false;
    }
    m_fd = fd;
    m_size = static_cast<std::uint64_t>(size);
    return true;
}

std::optional<std::size_t> FlashImageFile::ReadAt(std::uint64_t offset, std::uint8_t* dest, std::size_t length) const
{
    std::size_t done = 0;
    while (done < length) {
        const std::ptrdiff_t n = platform::ReadAt(m_fd, dest + done, length - done, offset + done);
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            break; // the file ended early
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::optional<ByteBuffer> FlashImageFile::ReadRest(std::uint64_t offset) const
{
    if (offset > m_size) {
        return std::nullopt;
    }
    ByteBuffer buffer(static_cast<std::size_t>(m_size - offset));
    if (ReadAt(offset, buffer.Data(), buffer.Size()) != buffer.Size()) {
        return std::nullopt; // the file shrank or could not be read: nothing half-read is used
    }
    return buffer;
}

bool FlashImageFile::WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t length)
{
    std::size_t done = 0;
    while (done < length) {
        const std::ptrdiff_t n = platform::WriteAt(m_fd, data + done, length - done, offset + done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool FlashImageFile::Sync()
{
    return platform::SyncFile(m_fd);
}

} // namespace core
