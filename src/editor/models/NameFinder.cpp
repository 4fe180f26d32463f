#include "editor/models/NameFinder.h"

#include "common/CodePage.h"

#include <algorithm>

namespace editor {

namespace {
bool IsAscii(const std::string& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Most code pages keep ASCII as it is, so an ASCII name needs no conversion; a few do not
// (Shift_JIS may show 0x5C as a yen sign, UTF-16 has no single bytes at all).
bool CodePageKeepsAscii()
{
    std::string ascii;
    for (int c = 0x20; c < 0x7F; ++c) {
        ascii.push_back(static_cast<char>(c));
    }
    return core::InternalToUtf8(ascii) == ascii;
}
} // namespace

void NameFinder::Forget()
{
    m_folded.clear();
    m_asciiSafe = -1;
}

QString NameFinder::Decode(const std::string& bytes)
{
    if (m_asciiSafe < 0) {
        m_asciiSafe = CodePageKeepsAscii() ? 1 : 0;
    }
    if (m_asciiSafe == 1 && IsAscii(bytes)) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return QString::fromStdString(core::InternalToUtf8(bytes));
}

const QString& NameFinder::Folded(std::int32_t id, const NameOf& nameOf)
{
    const auto it = m_folded.find(id);
    if (it != m_folded.end()) {
        return it->second;
    }
    return m_folded.emplace(id, Decode(nameOf(id)).toCaseFolded()).first->second;
}

std::vector<std::int32_t>
NameFinder::Matching(const std::vector<std::int32_t>& ids, const QString& text, const NameOf& nameOf)
{
    if (text.isEmpty()) {
        return ids;
    }
    const QString needle = text.toCaseFolded();
    if (m_folded.empty()) {
        m_folded.reserve(ids.size()); // the first letter reads every name: no rehashing on the way
    }
    std::vector<std::int32_t> kept;
    for (const std::int32_t id : ids) {
        if (Folded(id, nameOf).contains(needle)) {
            kept.push_back(id);
        }
    }
    return kept;
}

} // namespace editor
