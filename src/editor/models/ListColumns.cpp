#include "editor/models/ListColumns.h"

#include "db/CProgNode.h"
#include "db/CSatNode.h"
#include "db/CTpNode.h"
#include "db/LnbFreqTable.h"

using core::CNode;
using core::CProgNode;
using core::CSatNode;
using core::CTpNode;
using core::LnbIndexToMHz;

namespace editor {

namespace {
// Fields are shown as the signed reading of their value (FavType with bit 31 set is negative).
std::string Signed(std::uint32_t value)
{
    return std::to_string(static_cast<std::int32_t>(value));
}

std::string SatCell(const CSatNode& sat, int column)
{
    switch (column) {
    case 0:
        return std::to_string(sat.Id());
    case 1:
        return sat.Name();
    case 2:
        return Signed(sat.Longitude());
    case 3:
        return Signed(LnbIndexToMHz(sat.LocalFre1()));
    case 4:
        return Signed(LnbIndexToMHz(sat.LocalFre2()));
    case 5:
        return Signed(sat.Switch12V());
    case 6:
        return Signed(sat.Tone22K());
    case 7:
        return Signed(sat.DiSEqC());
    case 8:
        return Signed(sat.DiSEqC12());
    case 9:
        return Signed(sat.Direction());
    case 10:
        return Signed(sat.LnbType());
    case 11:
        return Signed(sat.DisEqCMotor());
    case 12:
        return Signed(sat.TunerSel());
    default:
        return {};
    }
}

std::string TpCell(const CTpNode& tp, int column)
{
    switch (column) {
    case 0:
        return std::to_string(tp.Id());
    case 1:
        return std::to_string(tp.ParentId());
    case 2:
        return Signed(tp.Frequency());
    case 3:
        return Signed(tp.SymbolRate());
    case 4:
        return Signed(tp.Polar());
    default:
        return {};
    }
}

std::string ProgCell(const CProgNode& prog, int column)
{
    switch (column) {
    case 0:
        return std::to_string(prog.Id());
    case 1:
        return std::to_string(prog.ParentId());
    case 2:
        return prog.ProgName();
    case 3:
        return Signed(prog.VPID());
    case 4:
        return Signed(prog.APID());
    case 5:
        return Signed(prog.PCRPID());
    case 6:
        return Signed(prog.Scramble());
    case 7:
        return Signed(prog.Hide());
    case 8:
        return Signed(prog.Track());
    case 9:
        return Signed(prog.ServiceId());
    case 10:
        return Signed(prog.PmtPid());
    case 11:
        return Signed(prog.AvType());
    case 12:
        return Signed(prog.Lock());
    case 13:
        return Signed(prog.Skip());
    case 14:
        return Signed(prog.FavType());
    case 15:
        return Signed(prog.TunerSel());
    case 16:
        return Signed(prog.VideoType());
    case 17:
        return Signed(prog.AudioType());
    default:
        return {};
    }
}
} // namespace

const std::vector<std::string_view>& ColumnHeaders(ListKind kind)
{
    static const std::vector<std::string_view> sats{"SatID",
                                                    "Name",
                                                    "Longitude",
                                                    "LocalFre1",
                                                    "LocalFre2",
                                                    "12V",
                                                    "22K",
                                                    "DiSEqC",
                                                    "DiSEqC12",
                                                    "Direction",
                                                    "LnbTpype",
                                                    "DisEqC Motor",
                                                    "TunerSel"};
    static const std::vector<std::string_view> tps{"TpID", "SatID", "Frequency", "SymbolRate", "Polar"};
    static const std::vector<std::string_view> progs{"ProgID",
                                                     "TpID",
                                                     "ProgName",
                                                     "VPID",
                                                     "APID",
                                                     "PCRPID",
                                                     "Scramble",
                                                     "Hide",
                                                     "Track",
                                                     "ServiceId",
                                                     "PmtPid",
                                                     "AvType",
                                                     "Lock",
                                                     "Skip",
                                                     "FavType",
                                                     "TunerSel",
                                                     "VideoType",
                                                     "AudioType"};
    switch (kind) {
    case ListKind::Programs:
        return progs;
    case ListKind::Transponders:
        return tps;
    case ListKind::Satellites:
        break;
    }
    return sats;
}

std::string CellText(ListKind kind, const CNode& node, int column)
{
    switch (kind) {
    case ListKind::Programs:
        return ProgCell(static_cast<const CProgNode&>(node), column);
    case ListKind::Transponders:
        return TpCell(static_cast<const CTpNode&>(node), column);
    case ListKind::Satellites:
        break;
    }
    return SatCell(static_cast<const CSatNode&>(node), column);
}

bool IsNameColumn(ListKind kind, int column)
{
    return (kind == ListKind::Satellites && column == 1) || (kind == ListKind::Programs && column == 2);
}

} // namespace editor
