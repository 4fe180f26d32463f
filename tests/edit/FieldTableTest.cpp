#include "edit/FieldTable.h"
#include "db/CProgNode.h"
#include "db/CSatNode.h"
#include "db/CTpNode.h"
#include "edit/SortNodes.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace core {

namespace {

// Every editable field with the node accessor that reads it, the width the node tree gives it and
// what the field table should say about it.
struct FieldCase
{
    NodeType kind;
    const char* name;
    const char* header;
    unsigned width;
    FieldKind fieldKind;
    std::function<std::uint32_t(const CNode&)> read;
};

template <class TNode>
std::function<std::uint32_t(const CNode&)> Reader(std::uint32_t (TNode::*getter)() const)
{
    return [getter](const CNode& node) { return (static_cast<const TNode&>(node).*getter)(); };
}

const std::vector<FieldCase>& FieldCases()
{
    static const std::vector<FieldCase> cases{
        {Sat, "Longitude", "Longitude", 11, FieldKind::Number, Reader(&CSatNode::Longitude)},
        {Sat, "LocalFre1", "LocalFre1", 4, FieldKind::LnbIndex, Reader(&CSatNode::LocalFre1)},
        {Sat, "LocalFre2", "LocalFre2", 4, FieldKind::LnbIndex, Reader(&CSatNode::LocalFre2)},
        {Sat, "Switch12V", "12V", 1, FieldKind::Flag, Reader(&CSatNode::Switch12V)},
        {Sat, "Tone22K", "22K", 2, FieldKind::Choice, Reader(&CSatNode::Tone22K)},
        {Sat, "DiSEqC", "DiSEqC", 3, FieldKind::Choice, Reader(&CSatNode::DiSEqC)},
        {Sat, "DiSEqC12", "DiSEqC12", 8, FieldKind::Number, Reader(&CSatNode::DiSEqC12)},
        {Sat, "Direction", "Direction", 1, FieldKind::Choice, Reader(&CSatNode::Direction)},
        {Sat, "LnbType", "LnbTpype", 2, FieldKind::Choice, Reader(&CSatNode::LnbType)},
        {Sat, "DisEqCMotor", "DisEqC Motor", 2, FieldKind::Choice, Reader(&CSatNode::DisEqCMotor)},
        {Sat, "TunerSel", "TunerSel", 2, FieldKind::Number, Reader(&CSatNode::TunerSel)},
        {Sat, "VideoType", "", 3, FieldKind::Number, Reader(&CSatNode::VideoType)},
        {Sat, "AudioType", "", 3, FieldKind::Number, Reader(&CSatNode::AudioType)},
        {Tp, "Frequency", "Frequency", 14, FieldKind::Number, Reader(&CTpNode::Frequency)},
        {Tp, "SymbolRate", "SymbolRate", 16, FieldKind::Number, Reader(&CTpNode::SymbolRate)},
        {Tp, "Polar", "Polar", 1, FieldKind::Choice, Reader(&CTpNode::Polar)},
        {Prog, "VPID", "VPID", 13, FieldKind::Number, Reader(&CProgNode::VPID)},
        {Prog, "APID", "APID", 13, FieldKind::Number, Reader(&CProgNode::APID)},
        {Prog, "PCRPID", "PCRPID", 13, FieldKind::Number, Reader(&CProgNode::PCRPID)},
        {Prog, "Scramble", "Scramble", 1, FieldKind::Flag, Reader(&CProgNode::Scramble)},
        {Prog, "Hide", "Hide", 1, FieldKind::Flag, Reader(&CProgNode::Hide)},
        {Prog, "Track", "Track", 2, FieldKind::Number, Reader(&CProgNode::Track)},
        {Prog, "ServiceId", "ServiceId", 16, FieldKind::Number, Reader(&CProgNode::ServiceId)},
        {Prog, "PmtPid", "PmtPid", 13, FieldKind::Number, Reader(&CProgNode::PmtPid)},
        {Prog, "AvType", "AvType", 1, FieldKind::Choice, Reader(&CProgNode::AvType)},
        {Prog, "Lock", "Lock", 1, FieldKind::Flag, Reader(&CProgNode::Lock)},
        {Prog, "Skip", "Skip", 1, FieldKind::Flag, Reader(&CProgNode::Skip)},
        {Prog, "FavType", "FavType", 32, FieldKind::Number, Reader(&CProgNode::FavType)},
        {Prog, "TunerSel", "TunerSel", 2, FieldKind::Number, Reader(&CProgNode::TunerSel)},
        {Prog, "VideoType", "VideoType", 3, FieldKind::Number, Reader(&CProgNode::VideoType)},
        {Prog, "AudioType", "AudioType", 3, FieldKind::Number, Reader(&CProgNode::AudioType)},
    };
    return cases;
}

std::unique_ptr<CNode> NodeOf(NodeType kind)
{
    switch (kind) {
    case Sat:
        return std::make_unique<CSatNode>();
    case Tp:
        return std::make_unique<CTpNode>();
    case Prog:
        break;
    }
    return std::make_unique<CProgNode>();
}

TEST(FieldTable, EveryFieldReadsAndWritesTheBitsOfItsAccessor)
{
    for (const FieldCase& c : FieldCases()) {
        SCOPED_TRACE(c.name);
        const FieldInfo* field = FindField(c.kind, c.name);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->nodeType, c.kind);
        EXPECT_EQ(field->header, c.header);
        EXPECT_EQ(field->bits.width, c.width);
        EXPECT_EQ(field->kind, c.fieldKind);
        EXPECT_EQ(field->MaxValue(), c.width == 32 ? 0xFFFFFFFFu : (1u << c.width) - 1);
        EXPECT_FALSE(field->IsName());
        for (const std::uint32_t value : {field->MaxValue(), 1u, 0u}) {
            const std::unique_ptr<CNode> node = NodeOf(c.kind);
            SetFieldValue(*node, *field, value);
            EXPECT_EQ(c.read(*node), value);
            EXPECT_EQ(FieldValue(*node, *field), value);
        }
        if (!c.header[0]) {
            EXPECT_EQ(FindFieldByHeader(c.kind, c.header), nullptr);
        } else {
            EXPECT_EQ(FindFieldByHeader(c.kind, c.header), field);
        }
    }
}

TEST(FieldTable, ListsEachKindsFieldsOnceAndNoFileOnlyField)
{
    for (const NodeType kind : {Sat, Tp, Prog}) {
        SCOPED_TRACE(kind);
        std::set<std::string_view> names;
        std::size_t numbers = 0;
        for (const FieldInfo& field : EditableFields(kind)) {
            EXPECT_TRUE(names.insert(field.name).second) << field.name;
            numbers += field.IsName() ? 0 : 1;
        }
        std::size_t expected = 0;
        for (const FieldCase& c : FieldCases()) {
            expected += c.kind == kind ? 1 : 0;
        }
        EXPECT_EQ(numbers, expected);
        for (const char* fileOnly : {"FirstTpIndex", "TpCount", "SatRef", "TpRef", "ExtraFlag"}) {
            EXPECT_EQ(FindField(kind, fileOnly), nullptr);
        }
    }
}

TEST(FieldTable, NamesHaveTheirByteLimits)
{
    ASSERT_NE(NameField(Sat), nullptr);
    EXPECT_EQ(NameField(Sat)->name, "Name");
    EXPECT_EQ(NameField(Sat)->nameBytes, 16u);
    ASSERT_NE(NameField(Prog), nullptr);
    EXPECT_EQ(NameField(Prog)->name, "ProgName");
    EXPECT_EQ(NameField(Prog)->nameBytes, 41u);
    EXPECT_EQ(NameField(Tp), nullptr);
    EXPECT_EQ(FindFieldByHeader(Prog, "ProgName"), NameField(Prog));
}

TEST(FieldTable, ChoicesCoverTheirFieldsAndNameTheirValues)
{
    const struct
    {
        NodeType kind;
        const char* name;
        std::vector<const char*> labels;
    } cases[] = {
        {Tp, "Polar", {"H", "V"}},
        {Prog, "Lock", {"Off", "On"}},
        {Sat, "Switch12V", {"Off", "On"}},
        {Sat, "DiSEqC", {"0", "1", "2", "3", "4", "5", "6", "7"}},
        {Sat, "LnbType", {"0", "1", "2", "3"}},
        {Sat, "LocalFre1", {"5150", "5700", "5750", "9750", "10000", "10600", "10700", "10750", "11250", "11300"}},
        {Prog, "ServiceId", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FieldInfo* field = FindField(c.kind, c.name);
        ASSERT_NE(field, nullptr);
        ASSERT_EQ(field->choices.size(), c.labels.size());
        for (std::size_t i = 0; i < c.labels.size(); ++i) {
            EXPECT_EQ(field->choices[i].value, i);
            EXPECT_EQ(field->choices[i].label, c.labels[i]);
            EXPECT_LE(field->choices[i].value, field->MaxValue());
        }
    }
}

TEST(FieldTable, SortKeysFollowTheColumnHeaders)
{
    const struct
    {
        NodeType kind;
        const char* header;
        const char* key;
    } cases[] = {
        {Prog, "ProgID", "Id"},
        {Prog, "TpID", "ParentId"},
        {Prog, "ProgName", "ProgName"},
        {Prog, "ServiceId", "ServiceId"},
        {Tp, "TpID", "Id"},
        {Tp, "SatID", "ParentId"},
        {Tp, "Polar", "Polar"},
        {Sat, "SatID", "Id"},
        {Sat, "12V", "Switch12V"},
        {Sat, "DisEqC Motor", "DisEqCMotor"},
        {Sat, "TpID", ""},
        {Prog, "SatID", ""},
        {Prog, "Nonsense", ""},
        {Sat, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        EXPECT_EQ(SortKeyForHeader(c.kind, c.header), c.key);
    }
}

} // namespace

} // namespace core
