#include "downloader/core/ToolFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace downloader {

TEST(ToolFile, ExtractWritesAnExecutableAndReplaces)
{
    TempDir dir;
    const std::string path = dir.File("boot.exe");
    dir.Write("boot.exe", std::string(5000, 'o'));
    const std::uint8_t bytes[] = {0x7F, 'E', 'L', 'F', 0, 1, 2};
    EXPECT_EQ(ExtractTool(ToolResource{true, bytes, sizeof bytes}, path), ExtractResult::Ok);
    EXPECT_EQ(ReadFileBytes(path), std::vector<std::uint8_t>(std::begin(bytes), std::end(bytes)));
    struct stat info
    { };
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755u);
    EXPECT_TRUE(DeleteToolFile(path));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(DeleteToolFile(path)); // already gone is fine
}

TEST(ToolFile, FailuresAndTheirMessages)
{
    TempDir dir;
    const std::uint8_t bytes[] = {1};
    std::filesystem::create_directory(dir.File("busy"));
    struct Case
    {
        ToolResource resource;
        std::string path;
        ExtractResult result;
        std::string message;
    };
    const std::vector<Case> cases{
        {ToolResource{false, nullptr, 0}, dir.File("a"), ExtractResult::NotFound, "查找资源文件失败!"},
        {ToolResource{true, nullptr, 0}, dir.File("a"), ExtractResult::LoadFailed, "装载资源文件失败!"},
        {ToolResource{true, bytes, 1}, dir.File("busy"), ExtractResult::CreateFailed, "创建boot.exe文件失败!"},
        {ToolResource{true, bytes, 1}, dir.File("none/boot.exe"), ExtractResult::CreateFailed, "创建boot.exe文件失败!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(ExtractTool(c.resource, c.path), c.result);
        EXPECT_EQ(ExtractFailureMessage(c.result), c.message);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("a")));
    EXPECT_EQ(ExtractFailureMessage(ExtractResult::Ok), "");
    EXPECT_EQ(kExtractCaption, "提示");
}

} // namespace downloader
