#include "ui/FileFilter.h"

#include <vector>

namespace ui {

namespace {
std::vector<std::string> SplitBars(std::string_view text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t bar = text.find('|', start);
        const std::size_t end = bar == std::string_view::npos ? text.size() : bar;
        if (end == start) {
            break; // the closing "||"
        }
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Qt separates patterns by blanks, so blanks around a pattern ("(All File)| *.*") carry nothing.
std::string QtPatterns(std::string_view patterns)
{
    std::string out;
    std::size_t start = 0;
    while (start <= patterns.size()) {
        const std::size_t semi = patterns.find(';', start);
        const std::size_t end = semi == std::string_view::npos ? patterns.size() : semi;
        const std::string_view one = Trimmed(patterns.substr(start, end - start));
        if (!one.empty()) {
            out += out.empty() ? "" : " ";
            out += one == "*.*" ? std::string_view("*") : one;
        }
        start = end + 1;
    }
    return out;
}
} // namespace

std::string ToQtNameFilter(std::string_view barFilter)
{
    const std::vector<std::string> parts = SplitBars(barFilter);
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        out += out.empty() ? "" : ";;";
        // Qt reads the patterns from the last parentheses, so they are appended after the
        // description even when it already shows them.
        out += parts[i] + " (" + QtPatterns(parts[i + 1]) + ")";
    }
    return out;
}

} // namespace ui
