#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with everything in it at scope end.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // The path of a file in the folder.
    std::string File(std::string_view name) const;
    // Writes a file in the folder and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;
    std::string Write(std::string_view name, const std::vector<std::uint8_t>& bytes) const;

private:
    std::string m_path;
};

// Reads a whole file, or an empty vector when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
// The same as text.
std::string ReadFileText(const std::string& path);

// The names of the entries of a folder, sorted.
std::vector<std::string> FilesIn(const std::string& folder);

} // namespace testsupport
