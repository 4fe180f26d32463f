#include "support/TempDir.h"

#include "platform/NativeFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testsupport {

TempDir::TempDir()
{
    m_path = platform::CreateUniqueFolder(platform::Utf8Of(std::filesystem::temp_directory_path() / "corvane-test-"));
    if (m_path.empty()) {
        throw std::runtime_error("no temporary folder");
    }
    // Forward slashes on every system: paths go into tool command lines, where a backslash escapes.
    std::replace(m_path.begin(), m_path.end(), '\\', '/');
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::permissions(platform::PathOf(m_path), std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(platform::PathOf(m_path), ignored);
}

std::string TempDir::File(std::string_view name) const
{
    return m_path + "/" + std::string(name);
}

std::string TempDir::Write(std::string_view name, std::string_view bytes) const
{
    const std::string path = File(name);
    std::ofstream out(platform::PathOf(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string TempDir::Write(std::string_view name, const std::vector<std::uint8_t>& bytes) const
{
    return Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(platform::PathOf(path), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadFileText(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace testsupport
