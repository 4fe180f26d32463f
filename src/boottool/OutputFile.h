#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace boottool {

// A file written through a temporary file beside it and renamed over it at the end, so a transfer that
// fails half-way never leaves the user with less than before.
class OutputFile
{
public:
    explicit OutputFile(std::string path);
    ~OutputFile(); // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file; false (errno kept) when it cannot be created.
    [[nodiscard]] bool Create();
    // Appends bytes; returns how many were written (fewer on a write error).
    [[nodiscard]] std::size_t Write(std::span<const std::uint8_t> data);
    // Flushes, closes and renames over the target.
    [[nodiscard]] bool Commit();

private:
    std::string m_path;
    std::string m_tempPath;
    int m_fd = -1;
    bool m_created = false;
    bool m_committed = false;
};

} // namespace boottool
