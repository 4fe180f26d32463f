#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A save never leaves the user with less than before: the data goes into a temporary file in the
// target's folder, which is then renamed over the target in one step.
class AtomicFile
{
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile(); // removes the temporary file unless Commit succeeded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file; false when the folder cannot take it.
    [[nodiscard]] bool Open();
    // Appends bytes; false on a write error (the target stays untouched).
    [[nodiscard]] bool Write(std::string_view data);
    // Flushes, closes and renames over the target; false leaves the target as it was.
    [[nodiscard]] bool Commit();

private:
    std::string m_path;
    std::string m_tempPath;
    int m_fd = -1;
    bool m_committed = false;
};

// Writes a whole file through AtomicFile.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view data);

// Reads a whole file; false when it cannot be opened or read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& data);

} // namespace core
