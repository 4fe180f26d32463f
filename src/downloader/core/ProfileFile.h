#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace downloader {

// A section/key text file read by the rules of the usual profile-file reader: "[Section]" lines,
// "key=value" lines, names compared without regard to case, blanks (and stray CRs) trimmed around
// keys and values, lines starting with ';' ignored, the first of duplicate sections or keys wins.
class ProfileFile
{
public:
    static ProfileFile Parse(std::string_view text);

    // The value, cut to maxLength characters; none when the section or key is missing.
    [[nodiscard]] std::optional<std::string>
    Value(std::string_view section, std::string_view key, std::size_t maxLength = kMaxValueLength) const;

    // The reader's value buffer holds 255 characters and a terminator.
    static constexpr std::size_t kMaxValueLength = 255;

private:
    struct Entry
    {
        std::string key;
        std::string value;
    };
    struct Section
    {
        std::string name;
        std::vector<Entry> entries;
    };
    const Section* FindSection(std::string_view name) const;

    std::vector<Section> m_sections;
};

// ASCII case-insensitive comparison, as the profile reader compares names.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

} // namespace downloader
