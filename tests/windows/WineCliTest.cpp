// corvane-cli.exe, the Windows build run under wine, converts as the Linux corvane-cli does: the
// workbook and the database each program writes are the same bytes.
#include "WinePrefix.h"
#include "boottool/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using boottool::ChildResult;
using boottool::RunChild;
using boottool::WinePrefix;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kSample = std::string(SAMPLES_DIR) + "/sample.db";

// A Windows console program's text-mode output, with its line ends as on Linux.
std::string Unix(std::string text)
{
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

class WineCliTest : public ::testing::TestWithParam<const char*>
{
protected:
    static void SetUpTestSuite() { s_prefix = std::make_unique<WinePrefix>(); }
    static void TearDownTestSuite() { s_prefix.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(s_prefix->Ready()) << "wine could not set up its prefix";
        // Both programs read the channel names in the case's code page, whatever the locale.
        setenv("CORVANE_CODEPAGE", GetParam(), 1);
    }
    void TearDown() override { unsetenv("CORVANE_CODEPAGE"); }

    // Converts `from` to `to` with the Linux program, then with the Windows one, each in its own folder.
    void ConvertOnBoth(const std::string& from, const std::string& to)
    {
        const ChildResult onLinux = RunChild({LINUX_CORVANE_CLI, "convert", from, linuxDir.File(to)}, kLimitMs);
        ASSERT_EQ(onLinux.status, 0) << onLinux.merged;
        const ChildResult onWindows
            = RunChild({"wine", WINDOWS_CORVANE_CLI_EXE, "convert", from, windowsDir.File(to)}, kLimitMs);
        ASSERT_EQ(onWindows.status, 0) << onWindows.merged;
        EXPECT_EQ(Unix(onWindows.output), onLinux.output);
    }

    // The same file as both programs wrote it.
    void ExpectSameBytes(const std::string& name)
    {
        const Bytes fromLinux = ReadFileBytes(linuxDir.File(name));
        ASSERT_FALSE(fromLinux.empty()) << name;
        EXPECT_TRUE(ReadFileBytes(windowsDir.File(name)) == fromLinux) << name << " differs";
    }

    static constexpr int kLimitMs = WinePrefix::kRunLimitMs;
    TempDir linuxDir;
    TempDir windowsDir;
    static std::unique_ptr<WinePrefix> s_prefix;
};

std::unique_ptr<WinePrefix> WineCliTest::s_prefix;

TEST_P(WineCliTest, TheSampleToAWorkbookAndBack)
{
    ConvertOnBoth(kSample, "sample.xls");
    ExpectSameBytes("sample.xls");
    ConvertOnBoth(linuxDir.File("sample.xls"), "back.db");
    ExpectSameBytes("back.db");
    if (std::string(GetParam()) == "1252") {
        // The sample's names are Western European: in its own code page nothing of them is lost.
        EXPECT_TRUE(ReadFileBytes(windowsDir.File("back.db")) == ReadFileBytes(kSample));
    }
}

// A workbook whose satellite and file names hold characters of several scripts: the names go into the
// database in the code page, and the file names through the wide-character calls on Windows.
TEST_P(WineCliTest, AWorkbookNamedInSeveralScriptsToADatabase)
{
    ConvertOnBoth(kSample, "sample.xls");
    const Bytes made = ReadFileBytes(linuxDir.File("sample.xls"));
    std::string text(made.begin(), made.end());
    const std::string name = "<Data ss:Type=\"String\">Nilesat 7W</Data>";
    const std::size_t at = text.find(name);
    ASSERT_NE(at, std::string::npos);
    // Two Chinese characters (none in code page 1252) and a Latin one before the satellite's name.
    text.insert(at + name.find('>') + 1, "\xE4\xB8\xAD\xE5\x9B\xBD Kan\xC3\xA4le ");
    const std::string workbook = linuxDir.Write("\xE9\xA2\x91\xE9\x81\x93 Kan\xC3\xA4le.xls", text);
    ConvertOnBoth(workbook, "\xE9\xA2\x91\xE9\x81\x93.db");
    ExpectSameBytes("\xE9\xA2\x91\xE9\x81\x93.db");
    if (std::string(GetParam()) == "936") {
        const Bytes db = ReadFileBytes(windowsDir.File("\xE9\xA2\x91\xE9\x81\x93.db"));
        EXPECT_NE(std::string(db.begin(), db.end()).find("\xD6\xD0\xB9\xFA Kan"), std::string::npos)
            << "the name in GBK";
    }
}

INSTANTIATE_TEST_SUITE_P(CodePages, WineCliTest, ::testing::Values("1252", "936"));

} // namespace
