#pragma once

#include "db/CNode.h"
#include "db/PackedRecord.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace core {

// How a field is edited: a free number within its bit width, a name, or one of a few values.
enum class FieldKind {
    Number,
    Name, // bytes in the internal code page, edited with RenameNode
    Flag, // 0 or 1, offered as "Off" and "On"
    Choice, // one of the values in choices, each with its label
    LnbIndex, // an index into LnbFreqTable, offered as the frequencies in MHz
};

// One value a drop-down offers, and its text.
struct FieldChoice
{
    std::uint32_t value;
    std::string_view label;
};

// A field the editor lets the user change.
struct FieldInfo
{
    NodeType nodeType;
    std::string_view name; // the field's name ("ServiceId", "Switch12V")
    std::string_view header; // its column header in the list ("12V"); empty when no column shows it
    FieldKind kind;
    BitField bits; // numbers: where the value lies (a transponder's fields lie in its one word)
    std::size_t nameBytes; // names: the most bytes a name may have
    std::span<const FieldChoice> choices; // Flag, Choice, LnbIndex: the values offered, in order

    // The largest raw value the bit width allows (numbers only).
    std::uint32_t MaxValue() const { return bits.width >= 32 ? 0xFFFFFFFFu : (1u << bits.width) - 1u; }
    bool IsName() const { return kind == FieldKind::Name; }
};

// The editable fields of a kind, in the order of the list's columns, then those no column shows.
// The file-only fields (FirstTpIndex, TpCount, SatRef, TpRef) are not among them: the
// default-database writer computes them from the tree.
std::span<const FieldInfo> EditableFields(NodeType kind);

// The editable field of that name, or nullptr.
const FieldInfo* FindField(NodeType kind, std::string_view name);

// The name field of a kind (satellite Name, program ProgName), or nullptr for transponders.
const FieldInfo* NameField(NodeType kind);

// The editable field shown under that column header ("12V" gives Switch12V), or nullptr.
const FieldInfo* FindFieldByHeader(NodeType kind, std::string_view header);

// The raw value of a number field of the node, which must be of the field's kind.
std::uint32_t FieldValue(const CNode& node, const FieldInfo& field);

// Stores the low bits of value into a number field; the other bits of the record stay.
void SetFieldValue(CNode& node, const FieldInfo& field, std::uint32_t value);

// The name bytes of a satellite or program (up to the first NUL).
std::string NodeName(const CNode& node);

} // namespace core
