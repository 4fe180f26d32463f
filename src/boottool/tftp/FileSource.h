#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace boottool {

// A file being served, read front to back.
class FileSource
{
public:
    virtual ~FileSource() = default;
    // Fills up to `max` bytes; fewer only at the end of the file. False on a read error (errno kept).
    [[nodiscard]] virtual bool Read(std::uint8_t* out, std::size_t max, std::size_t& got) = 0;
};

// Result of opening a file: the source, or the system error number.
struct OpenedFile
{
    std::unique_ptr<FileSource> source;
    int error = 0;
    std::uint64_t size = 0; // bytes in the file, for the progress of its transfer
};

// How the server reaches files (the real file system, or a table of byte vectors in tests).
class FileStorage
{
public:
    virtual ~FileStorage() = default;
    [[nodiscard]] virtual OpenedFile Open(const std::string& path) = 0;
};

// Files of the PC, streamed in large reads so a file of any size is served without loading it whole.
class DiskFileStorage : public FileStorage
{
public:
    [[nodiscard]] OpenedFile Open(const std::string& path) override;
};

// Turns a source into the netascii form of RFC 1350: LF becomes CR LF, a bare CR becomes CR NUL.
class NetasciiSource : public FileSource
{
public:
    explicit NetasciiSource(std::unique_ptr<FileSource> raw);
    [[nodiscard]] bool Read(std::uint8_t* out, std::size_t max, std::size_t& got) override;

private:
    std::unique_ptr<FileSource> m_raw;
    int m_carry = -1; // second byte of a pair that did not fit into the last read
    std::uint8_t m_byte = 0;
    bool m_end = false;
};

} // namespace boottool
