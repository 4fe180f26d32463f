#include "editor/models/CellToolTips.h"

#include "db/CSatNode.h"
#include "db/CTpNode.h"
#include "db/LnbFreqTable.h"

#include <cstdint>
#include <string_view>

using core::CSatNode;
using core::CTpNode;
using core::LnbIndexToMHz;

namespace editor {

namespace {
// The satellite columns with a coded value (see ColumnHeaders).
constexpr int kLocalFre1Column = 3;
constexpr int kLocalFre2Column = 4;
constexpr int kSwitch12VColumn = 5;
constexpr int kTone22KColumn = 6;
constexpr int kDiSEqCColumn = 7;
constexpr int kLnbTypeColumn = 10;
constexpr int kPolarColumn = 4; // of the transponder columns
constexpr std::uint32_t kLnbTableSize = 10;

std::string MHz(std::uint32_t index)
{
    return std::to_string(LnbIndexToMHz(index)) + " MHz";
}

std::string LocalOscillator(int which, std::uint32_t index)
{
    std::string text = "LNB local oscillator " + std::to_string(which) + ": " + MHz(index);
    if (index >= kLnbTableSize) {
        // Out of the table the receiver falls back to its first entry.
        return text + " (index " + std::to_string(index) + " is outside the frequency table)";
    }
    return text + " (table index " + std::to_string(index) + ")";
}

std::string OnOff(std::string_view what, std::uint32_t value)
{
    return std::string(what) + (value == 0 ? " off" : " on");
}

std::string SatToolTip(const CSatNode& sat, int column)
{
    switch (column) {
    case kLocalFre1Column:
        return LocalOscillator(1, sat.LocalFre1());
    case kLocalFre2Column:
        return LocalOscillator(2, sat.LocalFre2());
    case kSwitch12VColumn:
        return OnOff("12 V output", sat.Switch12V());
    case kTone22KColumn:
        // Two bits: 0 and 1 are off and on; the receiver gives the other values their own meaning.
        if (sat.Tone22K() <= 1) {
            return OnOff("22 kHz tone", sat.Tone22K());
        }
        return "22 kHz tone setting " + std::to_string(sat.Tone22K());
    case kDiSEqCColumn:
        if (sat.DiSEqC() == 0) {
            return "DiSEqC: no switch port";
        }
        return "DiSEqC switch port " + std::to_string(sat.DiSEqC());
    case kLnbTypeColumn:
        return "LNB type " + std::to_string(sat.LnbType()) + ", local oscillators " + MHz(sat.LocalFre1()) + " and "
            + MHz(sat.LocalFre2());
    default:
        return {};
    }
}
} // namespace

std::string CellToolTip(ListKind kind, const core::CNode& node, int column)
{
    switch (kind) {
    case ListKind::Satellites:
        return SatToolTip(static_cast<const CSatNode&>(node), column);
    case ListKind::Transponders:
        if (column == kPolarColumn) {
            const auto& tp = static_cast<const CTpNode&>(node);
            return tp.Polar() == 0 ? "Polarisation H (horizontal)" : "Polarisation V (vertical)";
        }
        return {};
    case ListKind::Programs:
        break;
    }
    return {};
}

} // namespace editor
