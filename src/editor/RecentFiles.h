#pragma once

#include "formats/FileFormats.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace editor {

// A file opened in the editor, with the format it was read as and, for a user database, the
// address its database was read at (0: Auto).
struct RecentFile
{
    std::string path;
    core::FormatId format = core::FormatId::Db;
    std::optional<std::uint32_t> address;

    bool operator==(const RecentFile&) const = default;
};

// The files opened last, the newest first, at most kMaxRecentFiles, each path once.
class RecentFiles
{
public:
    static constexpr std::size_t kMaxRecentFiles = 8;

    RecentFiles() = default;
    explicit RecentFiles(std::vector<RecentFile> files);

    const std::vector<RecentFile>& Files() const { return m_files; }
    // Puts the file first, replacing an earlier entry of the same path, and drops the oldest beyond the limit.
    void Opened(RecentFile file);
    // Drops the entry of this path; false when there was none.
    bool Remove(const std::string& path);

    // The text of a menu entry: its number as the mnemonic, the path and the format.
    static std::string MenuText(std::size_t index, const RecentFile& file);
    // The format as a word kept in the settings, and back (nullopt for a word of no format).
    static std::string FormatWord(core::FormatId format);
    static std::optional<core::FormatId> FormatFromWord(const std::string& word);

private:
    std::vector<RecentFile> m_files;
};

} // namespace editor
