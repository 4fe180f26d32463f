#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace downloader {

// The tool program carried inside the front-end.
struct ToolResource
{
    bool found = false; // the program carries a tool at all
    const std::uint8_t* data = nullptr; // null when it could not be loaded
    std::size_t size = 0;
};

enum class ExtractResult { Ok, NotFound, LoadFailed, CreateFailed };

// Makes path hold the tool as an executable, mode 0755. A file there with the same bytes and mode is left
// as it is (another window may be running it); any other is replaced at once by a complete new file,
// never truncated in place.
[[nodiscard]] ExtractResult ExtractTool(const ToolResource& resource, const std::string& path);

// The message shown for a failed extraction, in the caption kExtractCaption; empty for Ok.
std::string_view ExtractFailureMessage(ExtractResult result);
inline constexpr std::string_view kExtractCaption = "提示";

// Deletes the tool file; false when it existed and could not be removed.
[[nodiscard]] bool DeleteToolFile(const std::string& path);

} // namespace downloader
