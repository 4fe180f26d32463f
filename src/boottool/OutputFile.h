#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace boottool {

// A file written in full or not at all: the data goes into an unnamed file in the target's folder
// (O_TMPFILE) that gets its name only in Commit, so a transfer that fails half-way, or a tool killed
// by the front-end's Cancel, leaves the old file or nothing, never a piece. On a file system without
// unnamed files, and on Windows, a temporary file beside the target is used instead, removed unless
// committed (on Windows it is also removed when the tool is killed: the system deletes it on close).
class OutputFile
{
public:
    explicit OutputFile(std::string path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the file; false (errno kept) when it cannot be created.
    [[nodiscard]] bool Create();
    // Appends bytes; returns how many were written (fewer on a write error).
    [[nodiscard]] std::size_t Write(std::span<const std::uint8_t> data);
    // Flushes it and gives it the target's name, replacing what was there.
    [[nodiscard]] bool Commit();

private:
    [[nodiscard]] bool CreateNamed();
    [[nodiscard]] bool LinkUnnamed();

    std::string m_path;
    std::string m_tempPath; // empty while the file has no name
    int m_fd = -1;
    bool m_committed = false;
};

} // namespace boottool
