#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A flash image on disk, opened for one import or merge and closed when the object goes.
class FlashImageFile
{
public:
    FlashImageFile() = default;
    ~FlashImageFile();
    FlashImageFile(const FlashImageFile&) = delete;
    FlashImageFile& operator=(const FlashImageFile&) = delete;

    // Opens an existing regular file, never creating one; false when that is not possible.
    bool OpenForReading(const std::string& path);
    bool OpenForUpdate(const std::string& path);

    // The file length at the time it was opened.
    std::uint64_t Size() const { return m_size; }

    // Reads up to length bytes at offset into out (resized to what was read); false on a read error.
    bool ReadAt(std::uint64_t offset, std::size_t length, std::vector<std::uint8_t>& out) const;
    // Writes all of data at offset; false when the system took less than all of it.
    bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t length);
    // Pushes what was written to the disk.
    bool Sync();

private:
    bool Open(const std::string& path, int flags);

    int m_fd = -1;
    std::uint64_t m_size = 0;
};
