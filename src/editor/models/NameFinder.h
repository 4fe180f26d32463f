#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace editor {

// Finds nodes by a piece of their name, ignoring case. Names are decoded from the internal code
// page and case-folded once per node and kept, so that each letter typed costs one pass of plain
// comparisons over the rows, not one code-page conversion per row.
class NameFinder
{
public:
    // The name bytes (internal code page) of the node with this id.
    using NameOf = std::function<std::string(std::int32_t id)>;

    // Drops every decoded name: names were edited or the code page changed.
    void Forget();

    // The ids, in their order, whose decoded name contains text, ignoring case. An empty text
    // keeps every id.
    std::vector<std::int32_t> Matching(const std::vector<std::int32_t>& ids, const QString& text, const NameOf& nameOf);

private:
    const QString& Folded(std::int32_t id, const NameOf& nameOf);
    QString Decode(const std::string& bytes);

    std::unordered_map<std::int32_t, QString> m_folded; // by node id
    int m_asciiSafe = -1; // the code page maps bytes below 0x80 to ASCII: 1 yes, 0 no, -1 not yet known
};

} // namespace editor
