#include "downloader/core/RunQuestions.h"
#include "downloader/core/ChipModes.h"

#include <gtest/gtest.h>

namespace downloader {

namespace {

DownloadRequest Request(DownloadMode mode, std::optional<SegmentInfo> segment)
{
    DownloadRequest request;
    request.modeIndex = static_cast<int>(mode);
    request.modeText = std::string(ModeNames()[static_cast<std::size_t>(mode)]);
    request.segment = std::move(segment);
    return request;
}

} // namespace

TEST(RunQuestions, AFileLargerThanItsSegmentIsAskedAbout)
{
    const SegmentInfo logo{"Logo", 0x00130000, 0x00008000};
    struct Case
    {
        DownloadMode mode;
        std::optional<std::uint64_t> size;
        std::string question;
    };
    const std::vector<Case> cases{
        {DownloadMode::SerialDown, 32769, "The file is 32769 bytes, larger than the segment Logo (32768 bytes)!"},
        {DownloadMode::NetDown, 5000000, "The file is 5000000 bytes, larger than the segment Logo (32768 bytes)!"},
        {DownloadMode::SerialDown, 32768, ""}, // fills it exactly
        {DownloadMode::NetDown, 0, ""},
        {DownloadMode::SerialDown, std::nullopt, ""}, // the tool says what is wrong with the file
        {DownloadMode::UsbDown, 5000000, ""}, // the board reads it, the PC cannot tell
        {DownloadMode::SerialDump, 5000000, ""}, // the file is written, not sent
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        EXPECT_EQ(SegmentFitQuestion(Request(c.mode, logo), c.size), c.question);
    }
    EXPECT_EQ(SegmentFitQuestion(Request(DownloadMode::SerialDown, std::nullopt), 1), "");
    EXPECT_EQ(kSegmentFitCaption, "Download anyway?");
}

TEST(RunQuestions, AnEraseNamesWhatItErases)
{
    const SegmentTable table{{"All", 0x00000000, 0x00200000}, {"Key", 0x001E0000, 0x00020000}};
    const SegmentInfo key = table[1];
    const SegmentInfo empty{"Empty", 0x00100000, 0};
    struct Case
    {
        const char* name;
        DownloadMode mode;
        std::optional<SegmentInfo> segment;
        SegmentTable segments;
        std::string question;
    };
    const std::vector<Case> cases{
        {"a segment", DownloadMode::FlashErase, key, table, "Erase Key (0x001e0000\u20130x001fffff)?"},
        {"a segment of no bytes", DownloadMode::FlashErase, empty, table, "Erase Empty (0x00100000\u20130x00100000)?"},
        {"the whole flash",
         DownloadMode::FlashEraseAll,
         std::nullopt,
         table,
         "Erase the whole flash (0x00000000\u20130x001fffff)?"},
        {"the whole flash of another table",
         DownloadMode::FlashEraseAll,
         std::nullopt,
         {{"B", 0x00400000, 0x1000}, {"A", 0x00010000, 0x100}},
         "Erase the whole flash (0x00010000\u20130x00400fff)?"},
        {"the whole flash of an empty table", DownloadMode::FlashEraseAll, std::nullopt, {}, "Erase the whole flash?"},
        {"no erase", DownloadMode::SerialDown, key, table, ""},
        {"a dump", DownloadMode::SerialDump, key, table, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EraseQuestion(Request(c.mode, c.segment), c.segments), c.question);
    }
    EXPECT_EQ(kEraseCaption, "Erase Flash");
}

} // namespace downloader
