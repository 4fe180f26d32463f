#include "editor/RecentFiles.h"

#include <algorithm>
#include <cstdio>

namespace editor {

namespace {
std::string KindText(const RecentFile& file)
{
    switch (file.format) {
    case core::FormatId::Db:
        return "Db";
    case core::FormatId::Excel:
        return "Excel";
    case core::FormatId::UserDb:
    case core::FormatId::UserDb25:
        break;
    }
    std::string text = file.format == core::FormatId::UserDb ? "User Db" : "User Db 2.5";
    const std::uint32_t address = file.address.value_or(0);
    if (address == 0) {
        return text + ", Auto";
    }
    char hex[16];
    (void)std::snprintf(hex, sizeof hex, "0x%X", address);
    return text + " at " + hex;
}

// "&" in a menu text marks the mnemonic; a path's own "&" is doubled to show as one.
std::string EscapeMnemonics(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        escaped += c == '&' ? std::string("&&") : std::string(1, c);
    }
    return escaped;
}
} // namespace

RecentFiles::RecentFiles(std::vector<RecentFile> files)
{
    // Kept as the settings hold them, through the same rules as an opened file.
    std::reverse(files.begin(), files.end());
    for (RecentFile& file : files) {
        Opened(std::move(file));
    }
}

void RecentFiles::Opened(RecentFile file)
{
    if (file.path.empty()) {
        return;
    }
    (void)Remove(file.path);
    m_files.insert(m_files.begin(), std::move(file));
    if (m_files.size() > kMaxRecentFiles) {
        m_files.resize(kMaxRecentFiles);
    }
}

bool RecentFiles::Remove(const std::string& path)
{
    const auto it
        = std::find_if(m_files.begin(), m_files.end(), [&path](const RecentFile& f) { return f.path == path; });
    if (it == m_files.end()) {
        return false;
    }
    m_files.erase(it);
    return true;
}

std::string RecentFiles::MenuText(std::size_t index, const RecentFile& file)
{
    return "&" + std::to_string(index + 1) + " " + EscapeMnemonics(file.path) + " (" + KindText(file) + ")";
}

std::string RecentFiles::FormatWord(core::FormatId format)
{
    return std::string(core::Format(format).name);
}

std::optional<core::FormatId> RecentFiles::FormatFromWord(const std::string& word)
{
    const core::FileFormat* format = core::FormatByName(word);
    if (format == nullptr || format->makeReader == nullptr) {
        return std::nullopt;
    }
    return format->id;
}

} // namespace editor
