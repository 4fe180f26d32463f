#pragma once

#include "db/CNode.h"
#include "db/PackedRecord.h"

namespace core {

// The receiver's 28-byte satellite record: the name, then the words W16, W20 and W24.
using SatRecord = PackedRecord<28>;

namespace SatField {
inline constexpr std::size_t kNameSize = 16;
inline constexpr BitField TunerSel{16, 0, 2};
inline constexpr BitField VideoType{16, 2, 3};
inline constexpr BitField AudioType{16, 5, 3};
inline constexpr BitField Longitude{20, 0, 11};
inline constexpr BitField LnbType{20, 11, 2};
inline constexpr BitField LocalFre1{20, 13, 4};
inline constexpr BitField LocalFre2{20, 17, 4};
inline constexpr BitField DiSEqC12{20, 21, 8};
inline constexpr BitField Tone22K{20, 29, 2};
inline constexpr BitField Direction{20, 31, 1};
inline constexpr BitField DiSEqC{24, 0, 3};
inline constexpr BitField Switch12V{24, 3, 1};
inline constexpr BitField FirstTpIndex{24, 4, 13};
inline constexpr BitField TpCount{24, 17, 13};
inline constexpr BitField DisEqCMotor{24, 30, 2};
} // namespace SatField

class CSatNode final : public CNode
{
public:
    explicit CSatNode(std::int32_t select = 0, std::int32_t id = InvalidId, std::int32_t parentId = InvalidId);

    const SatRecord& Record() const { return m_record; }
    SatRecord& Record() { return m_record; }

    // Selection kind from the spreadsheet column "select": 0 "A"/"Y", 1 "S", 2 "T".
    std::int32_t Select() const { return m_select; }
    void SetSelect(std::int32_t select) { m_select = select; }

    std::string Name() const { return m_record.String(0, SatField::kNameSize); }
    void SetName(std::string_view name) { m_record.SetString(0, SatField::kNameSize, name); }

#define CORVANE_SAT_FIELD(name)                                                                                        \
    std::uint32_t name() const                                                                                         \
    {                                                                                                                  \
        return m_record.Get(SatField::name);                                                                           \
    }                                                                                                                  \
    void Set##name(std::uint32_t value)                                                                                \
    {                                                                                                                  \
        m_record.Set(SatField::name, value);                                                                           \
    }
    CORVANE_SAT_FIELD(TunerSel)
    CORVANE_SAT_FIELD(VideoType)
    CORVANE_SAT_FIELD(AudioType)
    CORVANE_SAT_FIELD(Longitude)
    CORVANE_SAT_FIELD(LnbType)
    CORVANE_SAT_FIELD(LocalFre1)
    CORVANE_SAT_FIELD(LocalFre2)
    CORVANE_SAT_FIELD(DiSEqC12)
    CORVANE_SAT_FIELD(Tone22K)
    CORVANE_SAT_FIELD(Direction)
    CORVANE_SAT_FIELD(DiSEqC)
    CORVANE_SAT_FIELD(Switch12V)
    CORVANE_SAT_FIELD(FirstTpIndex)
    CORVANE_SAT_FIELD(TpCount)
    CORVANE_SAT_FIELD(DisEqCMotor)
#undef CORVANE_SAT_FIELD

private:
    SatRecord m_record;
    std::int32_t m_select;
};

// Zeroes the destination's 16 name bytes, copies the name (never beyond the field), then W16, W20, W24.
void CopySatRecord(const SatRecord& source, SatRecord& destination);

} // namespace core
