#include "access/UserDbRecords.h"

#include "db/LnbFreqTable.h"

#include <cstring>

namespace core {

std::uint32_t LnbIndexField(std::uint32_t mhz)
{
    // -1 for an unknown frequency keeps only its low four bits in the field: 15.
    return static_cast<std::uint32_t>(LnbMHzToIndex(mhz)) & 0xF;
}

namespace UserDb {
namespace {
std::uint32_t Bits(std::uint32_t word, unsigned lowBit, unsigned width)
{
    return GetBitField(word, lowBit, width);
}
} // namespace

std::int32_t FillSat(const SatBuffer& record, CSatNode& sat)
{
    const std::uint32_t w0 = LoadLe32(record.data());
    const std::uint32_t w4 = LoadLe32(record.data() + 4);
    const std::uint32_t w8 = LoadLe32(record.data() + 8);
    const std::uint32_t w12 = LoadLe32(record.data() + 12);
    sat.SetDirection(Bits(w0, 0, 1));
    sat.SetLongitude(Bits(w0, 1, 11));
    sat.SetLocalFre2(LnbIndexField(Bits(w4, 0, 16)));
    sat.SetLocalFre1(LnbIndexField(Bits(w4, 16, 16)));
    sat.SetSwitch12V(Bits(w8, 0, 1));
    sat.SetTone22K(Bits(w8, 3, 2));
    sat.SetDiSEqC(Bits(w8, 5, 3));
    sat.SetDiSEqC12(Bits(w8, 16, 8));
    sat.SetDisEqCMotor(Bits(w8, 30, 2));
    sat.SetLnbType(Bits(w12, 27, 2));
    // 15 name bytes as the receiver keeps them; the 16th byte terminates the name.
    std::memcpy(sat.Record().Bytes().data(), record.data() + 16, 15);
    sat.Record().Bytes()[15] = 0;
    return static_cast<std::int32_t>(Bits(w0, 16, 16));
}

std::int32_t FillTp(const TpBuffer& record, CTpNode& tp, std::int32_t* parentId)
{
    const std::uint32_t w0 = LoadLe32(record.data());
    const std::uint32_t w4 = LoadLe32(record.data() + 4);
    const std::uint32_t w8 = LoadLe32(record.data() + 8);
    tp.SetSymbolRate(Bits(w4, 0, 16));
    tp.SetFrequency(Bits(w4, 16, 14));
    tp.SetExtraFlag(Bits(w8, 2, 1));
    tp.SetPolar(Bits(w8, 3, 1));
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
    prog.SetServiceId(Bits(w4, 16, 16));
    prog.SetTrack(Bits(w8, 0, 2));
    prog.SetPCRPID(Bits(w8, 6, 13));
    prog.SetVPID(Bits(w8, 19, 13));
    prog.SetPmtPid(Bits(w12, 6, 13));
    prog.SetAPID(Bits(w12, 19, 13));
    prog.SetAvType(Bits(w16, 15, 1));
    prog.SetScramble(Bits(w16, 18, 1));
    prog.SetSkip(Bits(w16, 19, 1));
    prog.SetLock(Bits(w16, 20, 1));
    prog.SetFavType(w20);
    // 20 name bytes as the receiver keeps them; the 21st name byte terminates the name.
    auto& bytes = prog.Record().Bytes();
    std::memcpy(bytes.data() + ProgField::kNameOffset, record.data() + 28, 20);
    bytes[ProgField::kNameOffset + 20] = 0;
    return static_cast<std::int32_t>(Bits(w0, 0, 16));
}
} // namespace UserDb

} // namespace core
