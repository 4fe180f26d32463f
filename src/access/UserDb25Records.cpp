#include "access/UserDb25Records.h"

#include "access/UserDbRecords.h"

#include <cstring>

namespace core {

namespace UserDb25 {
namespace {
std::uint32_t Bits(std::uint32_t word, unsigned lowBit, unsigned width)
{
    return GetBitField(word, lowBit, width);
}

std::uint32_t Le16(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8;
}

// The one service kind whose programs get AvType 0; every other kind gives 1.
constexpr std::uint32_t kRadioServiceKind = 2;
} // namespace

std::int32_t FillSat(const SatBuffer& record, CSatNode& sat)
{
    const std::uint32_t w0 = LoadLe32(record.data());
    const std::uint32_t lnb2 = Le16(record.data() + 4);
    const std::uint32_t lnb1 = Le16(record.data() + 6);
    const std::uint32_t w8 = LoadLe32(record.data() + 8);
    sat.SetDirection(Bits(w0, 0, 1));
    sat.SetLongitude(Bits(w0, 1, 11));
    sat.SetTone22K(Bits(lnb2, 0, 2));
    sat.SetLocalFre2(LnbIndexField(Bits(lnb2, 2, 14)));
    sat.SetLocalFre1(LnbIndexField(Bits(lnb1, 2, 14)));
    sat.SetSwitch12V(Bits(w8, 0, 1));
    sat.SetLnbType(Bits(w8, 1, 2));
    sat.SetDiSEqC12(Bits(w8, 8, 8));
    sat.SetDiSEqC(Bits(w8, 16, 3));
    sat.SetDisEqCMotor(Bits(w8, 28, 2));
    // 15 name bytes as the receiver keeps them; the 16th byte terminates the name.
    std::memcpy(sat.Record().Bytes().data(), record.data() + 12, 15);
    sat.Record().Bytes()[15] = 0;
    return static_cast<std::int32_t>(Bits(w0, 16, 16));
}

std::int32_t FillTp(const TpBuffer& record, CTpNode& tp, std::int32_t* parentId)
{
    const std::uint32_t w0 = LoadLe32(record.data());
    const std::uint32_t w4 = LoadLe32(record.data() + 4);
    const std::uint32_t w8 = LoadLe32(record.data() + 8);
    tp.SetPolar(Bits(w4, 0, 1));
    tp.SetFrequency(Bits(w8, 0, 14));
    tp.SetSymbolRate(Le16(record.data() + 12));
    *parentId = static_cast<std::int32_t>(Bits(w0, 16, 16));
    return static_cast<std::int32_t>(Bits(w0, 0, 16));
}

std::int32_t FillProg(const ProgBuffer& record, CProgNode& prog)
{
    const std::uint32_t w0 = LoadLe32(record.data());
    const std::uint32_t w4 = LoadLe32(record.data() + 4);
    const std::uint32_t w8 = LoadLe32(record.data() + 8);
    const std::uint32_t w12 = LoadLe32(record.data() + 12);
    const std::uint32_t w16 = LoadLe32(record.data() + 16);
    const std::uint32_t w20 = LoadLe32(record.data() + 20);
    const std::uint32_t w24 = LoadLe32(record.data() + 24);
    prog.SetServiceId(Bits(w4, 16, 16));
    prog.SetScramble(Bits(w8, 4, 1));
    prog.SetLock(Bits(w8, 5, 1));
    prog.SetPCRPID(Bits(w8, 6, 13));
    prog.SetVPID(Bits(w8, 19, 13));
    prog.SetPmtPid(Bits(w12, 6, 13));
    prog.SetAPID(Bits(w12, 19, 13));
    prog.SetSkip(Bits(w16, 31, 1));
    prog.SetTrack(Bits(w20, 3, 2));
    prog.SetAvType(Bits(w24, 16, 16) == kRadioServiceKind ? 0 : 1);
    // 20 name bytes as the receiver keeps them; the 21st name byte terminates the name.
    auto& bytes = prog.Record().Bytes();
    std::memcpy(bytes.data() + ProgField::kNameOffset, record.data() + 28, 20);
    bytes[ProgField::kNameOffset + 20] = 0;
    return static_cast<std::int32_t>(Bits(w0, 0, 16));
}
} // namespace UserDb25

} // namespace core
