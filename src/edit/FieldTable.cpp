#include "edit/FieldTable.h"

#include "db/CProgNode.h"
#include "db/CSatNode.h"
#include "db/CTpNode.h"

#include <array>

namespace core {

namespace {

constexpr std::array kFlagChoices{FieldChoice{0, "Off"}, FieldChoice{1, "On"}};
constexpr std::array kPolarChoices{FieldChoice{0, "H"}, FieldChoice{1, "V"}};
constexpr std::array kZeroOneChoices{FieldChoice{0, "0"}, FieldChoice{1, "1"}};
constexpr std::array kFourChoices{FieldChoice{0, "0"}, FieldChoice{1, "1"}, FieldChoice{2, "2"}, FieldChoice{3, "3"}};
constexpr std::array kEightChoices{FieldChoice{0, "0"},
                                   FieldChoice{1, "1"},
                                   FieldChoice{2, "2"},
                                   FieldChoice{3, "3"},
                                   FieldChoice{4, "4"},
                                   FieldChoice{5, "5"},
                                   FieldChoice{6, "6"},
                                   FieldChoice{7, "7"}};
// The LnbFreqTable entries as the list shows them.
constexpr std::array kLnbChoices{FieldChoice{0, "5150"},
                                 FieldChoice{1, "5700"},
                                 FieldChoice{2, "5750"},
                                 FieldChoice{3, "9750"},
                                 FieldChoice{4, "10000"},
                                 FieldChoice{5, "10600"},
                                 FieldChoice{6, "10700"},
                                 FieldChoice{7, "10750"},
                                 FieldChoice{8, "11250"},
                                 FieldChoice{9, "11300"}};

constexpr BitField kNoBits{0, 0, 0};

constexpr FieldInfo Number(NodeType type, std::string_view name, std::string_view header, BitField bits)
{
    return FieldInfo{type, name, header, FieldKind::Number, bits, 0, {}};
}

constexpr FieldInfo Chosen(NodeType type,
                           std::string_view name,
                           std::string_view header,
                           FieldKind kind,
                           BitField bits,
                           std::span<const FieldChoice> choices)
{
    return FieldInfo{type, name, header, kind, bits, 0, choices};
}

constexpr std::array kSatFields{
    FieldInfo{Sat, "Name", "Name", FieldKind::Name, kNoBits, SatField::kNameSize, {}},
    Number(Sat, "Longitude", "Longitude", SatField::Longitude),
    Chosen(Sat, "LocalFre1", "LocalFre1", FieldKind::LnbIndex, SatField::LocalFre1, kLnbChoices),
    Chosen(Sat, "LocalFre2", "LocalFre2", FieldKind::LnbIndex, SatField::LocalFre2, kLnbChoices),
    Chosen(Sat, "Switch12V", "12V", FieldKind::Flag, SatField::Switch12V, kFlagChoices),
    Chosen(Sat, "Tone22K", "22K", FieldKind::Choice, SatField::Tone22K, kFourChoices),
    Chosen(Sat, "DiSEqC", "DiSEqC", FieldKind::Choice, SatField::DiSEqC, kEightChoices),
    Number(Sat, "DiSEqC12", "DiSEqC12", SatField::DiSEqC12),
    Chosen(Sat, "Direction", "Direction", FieldKind::Choice, SatField::Direction, kZeroOneChoices),
    Chosen(Sat, "LnbType", "LnbTpype", FieldKind::Choice, SatField::LnbType, kFourChoices),
    Chosen(Sat, "DisEqCMotor", "DisEqC Motor", FieldKind::Choice, SatField::DisEqCMotor, kFourChoices),
    Number(Sat, "TunerSel", "TunerSel", SatField::TunerSel),
    Number(Sat, "VideoType", "", SatField::VideoType),
    Number(Sat, "AudioType", "", SatField::AudioType),
};

constexpr std::array kTpFields{
    Number(Tp, "Frequency", "Frequency", TpField::Frequency),
    Number(Tp, "SymbolRate", "SymbolRate", TpField::SymbolRate),
    Chosen(Tp, "Polar", "Polar", FieldKind::Choice, TpField::Polar, kPolarChoices),
};

constexpr std::array kProgFields{
    FieldInfo{Prog, "ProgName", "ProgName", FieldKind::Name, kNoBits, ProgField::kNameZeroedSize, {}},
    Number(Prog, "VPID", "VPID", ProgField::VPID),
    Number(Prog, "APID", "APID", ProgField::APID),
    Number(Prog, "PCRPID", "PCRPID", ProgField::PCRPID),
    Chosen(Prog, "Scramble", "Scramble", FieldKind::Flag, ProgField::Scramble, kFlagChoices),
    Chosen(Prog, "Hide", "Hide", FieldKind::Flag, ProgField::Hide, kFlagChoices),
    Number(Prog, "Track", "Track", ProgField::Track),
    Number(Prog, "ServiceId", "ServiceId", ProgField::ServiceId),
    Number(Prog, "PmtPid", "PmtPid", ProgField::PmtPid),
    Chosen(Prog, "AvType", "AvType", FieldKind::Choice, ProgField::AvType, kZeroOneChoices),
    Chosen(Prog, "Lock", "Lock", FieldKind::Flag, ProgField::Lock, kFlagChoices),
    Chosen(Prog, "Skip", "Skip", FieldKind::Flag, ProgField::Skip, kFlagChoices),
    Number(Prog, "FavType", "FavType", ProgField::FavType),
    Number(Prog, "TunerSel", "TunerSel", ProgField::TunerSel),
    Number(Prog, "VideoType", "VideoType", ProgField::VideoType),
    Number(Prog, "AudioType", "AudioType", ProgField::AudioType),
};

} // namespace

std::span<const FieldInfo> EditableFields(NodeType kind)
{
    switch (kind) {
    case Sat:
        return kSatFields;
    case Tp:
        return kTpFields;
    case Prog:
        break;
    }
    return kProgFields;
}

const FieldInfo* FindField(NodeType kind, std::string_view name)
{
    for (const FieldInfo& field : EditableFields(kind)) {
        if (field.name == name) {
            return &field;
        }
    }
    return nullptr;
}

const FieldInfo* NameField(NodeType kind)
{
    for (const FieldInfo& field : EditableFields(kind)) {
        if (field.IsName()) {
            return &field;
        }
    }
    return nullptr;
}

const FieldInfo* FindFieldByHeader(NodeType kind, std::string_view header)
{
    if (header.empty()) {
        return nullptr;
    }
    for (const FieldInfo& field : EditableFields(kind)) {
        if (field.header == header) {
            return &field;
        }
    }
    return nullptr;
}

std::uint32_t FieldValue(const CNode& node, const FieldInfo& field)
{
    switch (node.Type()) {
    case Sat:
        return static_cast<const CSatNode&>(node).Record().Get(field.bits);
    case Tp:
        return GetBitField(static_cast<const CTpNode&>(node).TpRecord(), field.bits.lowBit, field.bits.width);
    case Prog:
        break;
    }
    return static_cast<const CProgNode&>(node).Record().Get(field.bits);
}

void SetFieldValue(CNode& node, const FieldInfo& field, std::uint32_t value)
{
    switch (node.Type()) {
    case Sat:
        static_cast<CSatNode&>(node).Record().Set(field.bits, value);
        return;
    case Tp: {
        auto& tp = static_cast<CTpNode&>(node);
        tp.SetTpRecord(SetBitField(tp.TpRecord(), field.bits.lowBit, field.bits.width, value));
        return;
    }
    case Prog:
        break;
    }
    static_cast<CProgNode&>(node).Record().Set(field.bits, value);
}

std::string NodeName(const CNode& node)
{
    switch (node.Type()) {
    case Sat:
        return static_cast<const CSatNode&>(node).Name();
    case Tp:
        return {};
    case Prog:
        break;
    }
    return static_cast<const CProgNode&>(node).ProgName();
}

} // namespace core
