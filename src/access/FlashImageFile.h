#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace core {

// Bytes read from a file. Unlike a vector it is not zero-filled before the read fills it: an
// image can be many megabytes.
class ByteBuffer
{
public:
    ByteBuffer() = default;
    explicit ByteBuffer(std::size_t size)
        : m_data(std::make_unique_for_overwrite<std::uint8_t[]>(size))
        , m_size(size)
    { }

    std::uint8_t* Data() { return m_data.get(); }
    const std::uint8_t* Data() const { return m_data.get(); }
    std::size_t Size() const { return m_size; }
    std::span<const std::uint8_t> Span() const { return {m_data.get(), m_size}; }

private:
    std::unique_ptr<std::uint8_t[]> m_data;
    std::size_t m_size = 0;
};

// The largest image read: the boards address their flash with 32 bits, so no offset inside an image
// reaches beyond this, and a larger file is no image.
inline constexpr std::uint64_t kMaxImageSize = std::uint64_t{1} << 32;

// A flash image on disk, opened for one import or merge and closed when the object goes.
class FlashImageFile
{
public:
    FlashImageFile() = default;
    ~FlashImageFile();
    FlashImageFile(const FlashImageFile&) = delete;
    FlashImageFile& operator=(const FlashImageFile&) = delete;

    // Opens an existing regular file, never creating one; false when that is not possible.
    [[nodiscard]] bool OpenForReading(const std::string& path);
    [[nodiscard]] bool OpenForUpdate(const std::string& path);

    // The file length at the time it was opened.
    std::uint64_t Size() const { return m_size; }

    // Reads up to length bytes at offset into dest; the number read (less at the end of the file),
    // or none on a read error.
    [[nodiscard]] std::optional<std::size_t> ReadAt(std::uint64_t offset, std::uint8_t* dest, std::size_t length) const;
    // Reads the bytes from offset to the end of the file; none on a read error or a short read.
    [[nodiscard]] std::optional<ByteBuffer> ReadRest(std::uint64_t offset) const;
    // Writes all of data at offset; false when the system took less than all of it.
    [[nodiscard]] bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t length);
    // Pushes what was written to the disk.
    [[nodiscard]] bool Sync();

private:
    [[nodiscard]] bool Open(const std::string& path, int flags);

    int m_fd = -1;
    std::uint64_t m_size = 0;
};

} // namespace core
