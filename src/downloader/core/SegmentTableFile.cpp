#include "downloader/core/SegmentTableFile.h"

#include "downloader/core/ProfileFile.h"
#include "platform/HexDigits.h"

#include <algorithm>
#include <limits>

namespace downloader {

namespace {

constexpr std::string_view kDefaultConfigText
    = "[Main]\r\nSegNumber=9\r\nSeg0=All\r\nSeg1=Bootload\r\nSeg2=Main Code\r\nSeg3=Logo\r\nSeg4=Common Data\r\n"
      "Seg5=Default UsrDB\r\nSeg6=UsrDB\r\nSeg7=SysDB\r\nSeg8=Key\r\n"
      "[All]\r\nStartAddr=0x00000000\r\nSegSize   =0x00200000\r\n"
      "[Bootload]\r\nStartAddr=0x00000000\r\nSegSize   =0x00010000\r\n"
      "[Main Code]\r\nStartAddr=0x00010000\r\nSegSize   =0x00120000\r\n"
      "[Logo]\r\nStartAddr=0x00130000\r\nSegSize   =0x00008000\r\n"
      "[Common Data]\r\nStartAddr=0x00138000\r\nSegSize   =0x00000800\r\n"
      "[Default UsrDB]\r\nStartAddr=0x00138800\r\nSegSize   =0x00007800\r\n"
      "[UsrDB]\r\nStartAddr=0x00140000\r\nSegSize   =0x00080000\r\n"
      "[SysDB]\r\nStartAddr=0x001C0000\r\nSegSize   =0x00020000\r\n"
      "[Key]\r\nStartAddr=0x001E0000\r\nSegSize   =0x00020000";

} // namespace

std::string_view DefaultConfigText()
{
    return kDefaultConfigText;
}

std::uint32_t ParseSegmentValue(std::string_view text)
{
    std::string value(text);
    if (value.size() >= 2) {
        value[1] = '0';
    }
    return platform::LeadingHexValue(value);
}

int ParseProfileInt(std::string_view text)
{
    bool negative = false;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        number = std::min<long long>(number * 10 + (text[i] - '0'), std::numeric_limits<int>::max());
    }
    return static_cast<int>(negative ? -number : number);
}

SegmentTable ParseSegmentTable(std::string_view iniText)
{
    const ProfileFile ini = ProfileFile::Parse(iniText);
    const int count = std::min(ParseProfileInt(ini.Value("Main", "SegNumber").value_or("")), kMaxSegments);
    SegmentTable table;
    for (int i = 0; i < count; ++i) {
        SegmentInfo segment;
        segment.name = ini.Value("Main", "Seg" + std::to_string(i)).value_or("");
        segment.start = ParseSegmentValue(ini.Value(segment.name, "StartAddr").value_or(""));
        segment.size = ParseSegmentValue(ini.Value(segment.name, "SegSize").value_or(""));
        table.push_back(std::move(segment));
    }
    return table;
}

} // namespace downloader
