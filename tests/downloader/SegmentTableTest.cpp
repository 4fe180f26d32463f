#include "downloader/core/ConfigFile.h"
#include "downloader/core/ProfileFile.h"
#include "downloader/core/SegmentTableFile.h"

#include <gtest/gtest.h>

namespace downloader {

TEST(SegmentTable, DefaultTextIsTheNineSegmentTable)
{
    EXPECT_EQ(DefaultConfigText().size(), 645u);
    EXPECT_EQ(ToTextModeBytes(DefaultConfigText()).size(), 682u);
    const SegmentTable expected{
        {"All", 0x00000000, 0x00200000},
        {"Bootload", 0x00000000, 0x00010000},
        {"Main Code", 0x00010000, 0x00120000},
        {"Logo", 0x00130000, 0x00008000},
        {"Common Data", 0x00138000, 0x00000800},
        {"Default UsrDB", 0x00138800, 0x00007800},
        {"UsrDB", 0x00140000, 0x00080000},
        {"SysDB", 0x001C0000, 0x00020000},
        {"Key", 0x001E0000, 0x00020000},
    };
    EXPECT_EQ(ParseSegmentTable(DefaultConfigText()), expected);
    // As written to disk (CR CR LF) the file reads back to the same table.
    EXPECT_EQ(ParseSegmentTable(ToTextModeBytes(DefaultConfigText())), expected);
    EXPECT_TRUE(DefaultConfigText().starts_with("[Main]\r\nSegNumber=9\r\nSeg0=All\r\n"));
    EXPECT_TRUE(DefaultConfigText().ends_with("[Key]\r\nStartAddr=0x001E0000\r\nSegSize   =0x00020000"));
}

TEST(SegmentTable, ValueRule)
{
    const std::vector<std::pair<std::string, std::uint32_t>> cases{
        {"0x00138800", 0x138800},
        {"0X00138800", 0x138800},
        {"138800", 0x108800}, // the second character always counts as 0
        {"", 0},
        {"7", 7},
        {"F", 0xF},
        {"0x", 0},
        {"0x1g00", 1},
        {"0xFFFFFFFF", 0xFFFFFFFF},
        {"0x100000000", 0xFFFFFFFF},
        {"0x123456789ABCDEF0", 0xFFFFFFFF},
        {"zz", 0},
        {"0x001e0000", 0x1E0000},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseSegmentValue(text), value);
    }
}

TEST(SegmentTable, ProfileReaderRules)
{
    const std::string text = "; comment\r\n[main]\r\n  segnumber =  3 \r\nSEG0=  A b \r\nSeg1=B\r\nSeg1=ignored\r\n"
                             "[A B]\r\nstartaddr=0x00000010\r\nSegSize   =0x00000020\r\n"
                             "[b]\r\nStartAddr=138800\r\n"
                             "[MAIN]\r\nSeg2=never read\r\n";
    const SegmentTable expected{
        {"A b", 0x10, 0x20},
        {"B", 0x108800, 0},
        {"", 0, 0},
    };
    EXPECT_EQ(ParseSegmentTable(text), expected);
}

TEST(SegmentTable, MissingOrOddCounts)
{
    const std::vector<std::pair<std::string, std::size_t>> cases{
        {"", 0},
        {"[Main]\nSegNumber=0\nSeg0=A\n", 0},
        {"[Main]\nSegNumber=-4\n", 0},
        {"[Main]\nSegNumber=2x\n", 2},
        {"[Main]\nSegNumber=abc\n", 0},
        {"[Other]\nSegNumber=3\n", 0},
        {"SegNumber=3\n", 0},
        {"[Main]\nSegNumber=99999999999\n", static_cast<std::size_t>(kMaxSegments)},
    };
    for (const auto& [text, count] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseSegmentTable(text).size(), count);
    }
}

TEST(SegmentTable, LongNamesAndValuesAreCut)
{
    const std::string longName(300, 'n');
    const std::string text
        = "[Main]\nSegNumber=1\nSeg0=" + longName + "\n[" + longName.substr(0, 255) + "]\nStartAddr=0x00000001\n";
    const SegmentTable table = ParseSegmentTable(text);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].name, longName.substr(0, 255));
    EXPECT_EQ(table[0].start, 1u);
}

} // namespace downloader
