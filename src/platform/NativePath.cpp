#include "platform/NativeFile.h"

namespace platform {

// The standard library reads a char8_t name as UTF-8 on every system (on Windows it becomes the
// wide name the system uses); a plain char name would be read in the ANSI code page there.
std::filesystem::path PathOf(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::optional<std::uint64_t> RegularFileSize(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path file = PathOf(path);
    if (!std::filesystem::is_regular_file(file, error)) {
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size);
}

std::string Utf8Of(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace platform
