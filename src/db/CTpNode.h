#pragma once

#include "db/CNode.h"
#include "db/PackedRecord.h"

namespace core {

namespace TpField {
inline constexpr BitField Frequency{0, 0, 14};
inline constexpr BitField Polar{0, 14, 1};
inline constexpr BitField SymbolRate{0, 15, 16};
inline constexpr BitField ExtraFlag{0, 31, 1};
} // namespace TpField

class CTpNode final : public CNode
{
public:
    explicit CTpNode(std::int32_t id = InvalidId, std::int32_t parentId = InvalidId);

    // The receiver's transponder word, verbatim.
    std::uint32_t TpRecord() const { return m_record; }
    void SetTpRecord(std::uint32_t record) { m_record = record; }

#define CORVANE_TP_FIELD(name)                                                                                         \
    std::uint32_t name() const                                                                                         \
    {                                                                                                                  \
        return GetBitField(m_record, TpField::name.lowBit, TpField::name.width);                                       \
    }                                                                                                                  \
    void Set##name(std::uint32_t value)                                                                                \
    {                                                                                                                  \
        m_record = SetBitField(m_record, TpField::name.lowBit, TpField::name.width, value);                            \
    }
    CORVANE_TP_FIELD(Frequency)
    CORVANE_TP_FIELD(Polar)
    CORVANE_TP_FIELD(SymbolRate)
    CORVANE_TP_FIELD(ExtraFlag)
#undef CORVANE_TP_FIELD

private:
    std::uint32_t m_record = 0;
};

// "H" for 0, "V" for 1.
const char* PolarText(std::uint32_t polar);

// Two transponder words are the same transponder when Frequency, Polar and SymbolRate agree;
// ExtraFlag (bit 31) is ignored.
bool SameTransponder(std::uint32_t a, std::uint32_t b);

} // namespace core
