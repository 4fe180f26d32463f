#include "downloader/core/ProfileFile.h"

namespace downloader {

namespace {

bool IsTrimmed(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsTrimmed(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsTrimmed(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

ProfileFile ProfileFile::Parse(std::string_view text)
{
    ProfileFile file;
    Section* current = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view name
                = Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            file.m_sections.push_back(Section{std::string(name), {}});
            current = &file.m_sections.back();
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos) {
            continue;
        }
        current->entries.push_back(
            Entry{std::string(Trim(line.substr(0, equals))), std::string(Trim(line.substr(equals + 1)))});
    }
    return file;
}

const ProfileFile::Section* ProfileFile::FindSection(std::string_view name) const
{
    for (const Section& section : m_sections) {
        if (EqualsIgnoreCase(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

std::optional<std::string>
ProfileFile::Value(std::string_view section, std::string_view key, std::size_t maxLength) const
{
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    for (const Entry& entry : found->entries) {
        if (EqualsIgnoreCase(entry.key, key)) {
            return entry.value.substr(0, maxLength);
        }
    }
    return std::nullopt;
}

} // namespace downloader
