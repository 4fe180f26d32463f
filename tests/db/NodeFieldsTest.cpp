#include "db/CProgDb.h"
#include "db/LnbFreqTable.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace core {

namespace {

// One bit field reached through its getter and setter.
template <class TNode>
struct FieldCase
{
    const char* name;
    BitField field;
    std::uint32_t (TNode::*get)() const;
    void (TNode::*set)(std::uint32_t);
};

#define FIELD(Kind, Ns, name)                                                                                          \
    {                                                                                                                  \
#name, Ns::name, &Kind::name, &Kind::Set##name                                                                 \
    }

const FieldCase<CSatNode> kSatFields[] = {
    FIELD(CSatNode, SatField, TunerSel),
    FIELD(CSatNode, SatField, VideoType),
    FIELD(CSatNode, SatField, AudioType),
    FIELD(CSatNode, SatField, Longitude),
    FIELD(CSatNode, SatField, LnbType),
    FIELD(CSatNode, SatField, LocalFre1),
    FIELD(CSatNode, SatField, LocalFre2),
    FIELD(CSatNode, SatField, DiSEqC12),
    FIELD(CSatNode, SatField, Tone22K),
    FIELD(CSatNode, SatField, Direction),
    FIELD(CSatNode, SatField, DiSEqC),
    FIELD(CSatNode, SatField, Switch12V),
    FIELD(CSatNode, SatField, FirstTpIndex),
    FIELD(CSatNode, SatField, TpCount),
    FIELD(CSatNode, SatField, DisEqCMotor),
};

const FieldCase<CProgNode> kProgFields[] = {
    FIELD(CProgNode, ProgField, SatRef),
    FIELD(CProgNode, ProgField, TpRef),
    FIELD(CProgNode, ProgField, Track),
    FIELD(CProgNode, ProgField, FavType),
    FIELD(CProgNode, ProgField, ServiceId),
    FIELD(CProgNode, ProgField, AvType),
    FIELD(CProgNode, ProgField, Scramble),
    FIELD(CProgNode, ProgField, Lock),
    FIELD(CProgNode, ProgField, VPID),
    FIELD(CProgNode, ProgField, APID),
    FIELD(CProgNode, ProgField, VideoType),
    FIELD(CProgNode, ProgField, AudioType),
    FIELD(CProgNode, ProgField, PmtPid),
    FIELD(CProgNode, ProgField, PCRPID),
    FIELD(CProgNode, ProgField, Hide),
    FIELD(CProgNode, ProgField, Skip),
    FIELD(CProgNode, ProgField, TunerSel),
};

const FieldCase<CTpNode> kTpFields[] = {
    FIELD(CTpNode, TpField, Frequency),
    FIELD(CTpNode, TpField, Polar),
    FIELD(CTpNode, TpField, SymbolRate),
    FIELD(CTpNode, TpField, ExtraFlag),
};
#undef FIELD

std::uint32_t MaskOf(const BitField& f)
{
    return f.width == 32 ? 0xFFFFFFFFu : ((1u << f.width) - 1u) << f.lowBit;
}

template <class TNode>
std::uint32_t WordOf(const TNode& node, std::size_t offset)
{
    if constexpr (std::is_same_v<TNode, CTpNode>) {
        (void)offset;
        return node.TpRecord();
    } else {
        return node.Record().Word(offset);
    }
}

// Every field keeps its own bits only: the largest value reads back, a wider value is cut, and
// every other bit of the word survives (words start all-ones and all-zeros).
template <class TNode, std::size_t N>
void CheckFields(const FieldCase<TNode> (&cases)[N], const std::function<void(TNode&, std::uint32_t)>& fillWords)
{
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::uint32_t max = c.field.width == 32 ? 0xFFFFFFFFu : (1u << c.field.width) - 1u;
        for (const std::uint32_t background : {0u, 0xFFFFFFFFu}) {
            TNode node;
            fillWords(node, background);
            (node.*c.set)(max);
            EXPECT_EQ((node.*c.get)(), max);
            EXPECT_EQ(WordOf(node, c.field.byteOffset) & ~MaskOf(c.field), background & ~MaskOf(c.field));
            (node.*c.set)(max + 1u); // one bit too wide: cut to the field's width
            EXPECT_EQ((node.*c.get)(), 0u);
            (node.*c.set)(1);
            EXPECT_EQ((node.*c.get)(), 1u);
            EXPECT_EQ(WordOf(node, c.field.byteOffset) & ~MaskOf(c.field), background & ~MaskOf(c.field));
        }
    }
}

TEST(NodeFields, EverySatelliteFieldReplacesExactlyItsBits)
{
    CheckFields<CSatNode>(kSatFields, [](CSatNode& n, std::uint32_t w) {
        for (std::size_t off : {16u, 20u, 24u}) {
            n.Record().SetWord(off, w);
        }
    });
}

TEST(NodeFields, EveryProgramFieldReplacesExactlyItsBits)
{
    CheckFields<CProgNode>(kProgFields, [](CProgNode& n, std::uint32_t w) {
        for (std::size_t off = 0; off < 20; off += 4) {
            n.Record().SetWord(off, w);
        }
    });
}

TEST(NodeFields, EveryTransponderFieldReplacesExactlyItsBits)
{
    CheckFields<CTpNode>(kTpFields, [](CTpNode& n, std::uint32_t w) { n.SetTpRecord(w); });
}

TEST(NodeFields, LongitudeOverflowLeavesLnbTypeAlone)
{
    CSatNode sat;
    sat.SetLnbType(2);
    sat.SetLongitude(2048);
    EXPECT_EQ(sat.Longitude(), 0u);
    EXPECT_EQ(sat.LnbType(), 2u);
}

TEST(NodeFields, NewNodesAreZeroWithTheirKind)
{
    const CSatNode sat(2, 5, 9);
    EXPECT_EQ(sat.Type(), NodeType::Sat);
    EXPECT_EQ(sat.Select(), 2);
    EXPECT_EQ(sat.Id(), 5);
    EXPECT_EQ(sat.ParentId(), 9);
    EXPECT_EQ(sat.Record(), SatRecord{});
    EXPECT_EQ(CTpNode().Type(), NodeType::Tp);
    EXPECT_EQ(CTpNode().TpRecord(), 0u);
    EXPECT_EQ(CProgNode().Type(), NodeType::Prog);
    EXPECT_EQ(CProgNode().Record(), ProgRecord{});
    EXPECT_EQ(CProgNode().Id(), InvalidId);
}

TEST(Lnb, IndexToMHzAndBack)
{
    const struct
    {
        std::uint32_t index;
        std::uint32_t mhz;
    } toMHz[] = {{0, 5150}, {3, 9750}, {5, 10600}, {9, 11300}, {10, 5150}, {15, 5150}};
    for (const auto& c : toMHz) {
        EXPECT_EQ(LnbIndexToMHz(c.index), c.mhz) << c.index;
    }
    EXPECT_EQ(LnbMHzToIndex(10600), 5);
    EXPECT_EQ(LnbMHzToIndex(10000), 4);
    EXPECT_EQ(LnbMHzToIndex(5150), 0);
    EXPECT_EQ(LnbMHzToIndex(9000), -1);
    CSatNode sat;
    sat.SetLocalFre1(static_cast<std::uint32_t>(LnbMHzToIndex(9000)));
    EXPECT_EQ(sat.LocalFre1(), 15u);
    EXPECT_EQ(LnbIndexToMHz(sat.LocalFre1()), 5150u);
}

TEST(Transponder, PolarTextAndSameTransponder)
{
    EXPECT_STREQ(PolarText(0), "H");
    EXPECT_STREQ(PolarText(1), "V");
    CTpNode a;
    a.SetFrequency(11494);
    a.SetPolar(1);
    a.SetSymbolRate(22000);
    CTpNode b = a;
    b.SetExtraFlag(1);
    EXPECT_TRUE(SameTransponder(a.TpRecord(), b.TpRecord()));
    b.SetSymbolRate(22001);
    EXPECT_FALSE(SameTransponder(a.TpRecord(), b.TpRecord()));
}

TEST(Names, SixteenCharacterSatelliteNameHasNoTerminator)
{
    CSatNode sat;
    sat.Record().SetWord(16, 0xDEADBEEF);
    sat.SetName("ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(sat.Name(), "ABCDEFGHIJKLMNOP");
    SatRecord copy;
    copy.SetString(0, 16, "zzzzzzzzzzzzzzzz");
    CopySatRecord(sat.Record(), copy);
    EXPECT_EQ(copy, sat.Record());
    EXPECT_EQ(copy.Word(16), 0xDEADBEEFu);

    CSatNode shortName;
    shortName.SetName("Astra");
    CopySatRecord(shortName.Record(), copy); // the longer old name leaves no bytes behind
    EXPECT_EQ(copy.String(0, 16), "Astra");
    for (std::size_t i = 5; i < 16; ++i) {
        EXPECT_EQ(copy.Bytes()[i], 0) << i;
    }
}

TEST(Names, ProgramNameOf41CharactersAndUnterminatedRecords)
{
    const std::string name41(41, 'x');
    CProgNode prog;
    prog.SetProgName(name41);
    prog.SetPmtPid(0x1FFF);
    ProgRecord copy;
    copy.SetString(20, 41, std::string(41, 'z')); // an older name is zero-filled away
    CopyProgRecord(prog.Record(), copy);
    EXPECT_EQ(copy.String(20, 44), name41);
    EXPECT_EQ(copy.Bytes()[61], 0);
    EXPECT_EQ(copy.Word(16), prog.Record().Word(16));

    ProgRecord unterminated;
    unterminated.Bytes().fill('y');
    CopyProgRecord(unterminated, copy);
    EXPECT_EQ(copy.String(20, 44), std::string(44, 'y')); // stops at the end of the record
}

} // namespace

} // namespace core
