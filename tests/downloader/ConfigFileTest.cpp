#include "downloader/core/ConfigFile.h"
#include "downloader/core/SegmentTableFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace downloader {

TEST(ConfigFile, TextModeConversions)
{
    const std::vector<std::tuple<std::string, std::string, std::string>> cases{
        // editor text, bytes on disk, editor text read back
        {"a\r\nb", "a\r\r\nb", "a\r\nb"},
        {"a\nb\n", "a\r\nb\r\n", "a\nb\n"},
        {"", "", ""},
        {"\r", "\r", "\r"},
    };
    for (const auto& [text, bytes, back] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ToTextModeBytes(text), bytes);
        EXPECT_EQ(FromTextModeBytes(bytes), back);
    }
}

TEST(ConfigFile, WriteReplacesTheWholeFile)
{
    TempDir dir;
    const std::string path = dir.File("config.ini");
    ASSERT_TRUE(WriteConfigFile(path, DefaultConfigText()));
    EXPECT_EQ(ReadFileBytes(path).size(), 682u);
    EXPECT_EQ(ReadConfigForEditor(path), std::string(DefaultConfigText()));

    const std::string shorter = "[Main]\r\nSegNumber=1\r\nSeg0=All\r\n[All]\r\nStartAddr=0x00000000";
    ASSERT_TRUE(WriteConfigFile(path, shorter));
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), ToTextModeBytes(shorter));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(ConfigFile, FailuresLeaveNothingBehind)
{
    TempDir dir;
    EXPECT_EQ(ReadConfigForEditor(dir.File("missing.ini")), std::nullopt);
    EXPECT_FALSE(WriteConfigFile(dir.File("no/such/folder/config.ini"), "x"));
    // A folder in the way of the file: the write fails and the folder stays.
    std::filesystem::create_directory(dir.File("config.ini"));
    EXPECT_FALSE(WriteConfigFile(dir.File("config.ini"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("config.ini")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("config.ini.tmp")));
}

TEST(ConfigFile, LongFileIsReadWhole)
{
    TempDir dir;
    std::string text = "[Main]\r\nSegNumber=0\r\n";
    text += std::string(5000, ';');
    text += "\r\nend";
    const std::string path = dir.Write("config.ini", ToTextModeBytes(text));
    EXPECT_EQ(ReadConfigForEditor(path), text);
}

} // namespace downloader
