#pragma once

#include "db/CNode.h"
#include "db/PackedRecord.h"

namespace core {

// The receiver's 64-byte program record: the words P0 to P16, then the name from byte 20.
using ProgRecord = PackedRecord<64>;

namespace ProgField {
inline constexpr std::size_t kNameOffset = 20;
inline constexpr std::size_t kNameSize = 44; // bytes 20-63; a name never reads past the record
inline constexpr std::size_t kNameZeroedSize = 41; // bytes 20-60, zero-filled by CopyProgRecord
inline constexpr BitField SatRef{0, 0, 13};
inline constexpr BitField TpRef{0, 13, 13};
inline constexpr BitField Track{0, 30, 2};
inline constexpr BitField FavType{4, 0, 32};
inline constexpr BitField ServiceId{8, 0, 16};
inline constexpr BitField AvType{8, 29, 1};
inline constexpr BitField Scramble{8, 30, 1};
inline constexpr BitField Lock{8, 31, 1};
inline constexpr BitField VPID{12, 0, 13};
inline constexpr BitField APID{12, 13, 13};
inline constexpr BitField VideoType{12, 26, 3};
inline constexpr BitField AudioType{12, 29, 3};
inline constexpr BitField PmtPid{16, 0, 13};
inline constexpr BitField PCRPID{16, 13, 13};
inline constexpr BitField Hide{16, 26, 1};
inline constexpr BitField Skip{16, 27, 1};
inline constexpr BitField TunerSel{16, 28, 2};
} // namespace ProgField

class CProgNode final : public CNode
{
public:
    explicit CProgNode(std::int32_t id = InvalidId, std::int32_t parentId = InvalidId);

    const ProgRecord& Record() const { return m_record; }
    ProgRecord& Record() { return m_record; }

    // The name bytes up to the first NUL, never past the end of the record.
    std::string ProgName() const { return m_record.String(ProgField::kNameOffset, ProgField::kNameSize); }
    // Zero-fills bytes 20-63 and stores at most 44 bytes of name.
    void SetProgName(std::string_view name) { m_record.SetString(ProgField::kNameOffset, ProgField::kNameSize, name); }

#define CORVANE_PROG_FIELD(name)                                                                                       \
    std::uint32_t name() const                                                                                         \
    {                                                                                                                  \
        return m_record.Get(ProgField::name);                                                                          \
    }                                                                                                                  \
    void Set##name(std::uint32_t value)                                                                                \
    {                                                                                                                  \
        m_record.Set(ProgField::name, value);                                                                          \
    }
    CORVANE_PROG_FIELD(SatRef)
    CORVANE_PROG_FIELD(TpRef)
    CORVANE_PROG_FIELD(Track)
    CORVANE_PROG_FIELD(FavType)
    CORVANE_PROG_FIELD(ServiceId)
    CORVANE_PROG_FIELD(AvType)
    CORVANE_PROG_FIELD(Scramble)
    CORVANE_PROG_FIELD(Lock)
    CORVANE_PROG_FIELD(VPID)
    CORVANE_PROG_FIELD(APID)
    CORVANE_PROG_FIELD(VideoType)
    CORVANE_PROG_FIELD(AudioType)
    CORVANE_PROG_FIELD(PmtPid)
    CORVANE_PROG_FIELD(PCRPID)
    CORVANE_PROG_FIELD(Hide)
    CORVANE_PROG_FIELD(Skip)
    CORVANE_PROG_FIELD(TunerSel)
#undef CORVANE_PROG_FIELD

private:
    ProgRecord m_record;
};

// Copies the words P0 to P16, zero-fills bytes 20-60 of the destination and copies the name
// (never beyond byte 63).
void CopyProgRecord(const ProgRecord& source, ProgRecord& destination);

} // namespace core
