#include "boottool/OutputFile.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace boottool {

namespace {

std::set<std::string> Names(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::string Text(const std::string& path)
{
    const auto bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::span<const std::uint8_t> Bytes(std::string_view text)
{
    return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// The data has no name in the folder until Commit, so a tool killed in between leaves nothing behind.
TEST(OutputFileTest, NothingIsSeenInTheFolderBeforeCommit)
{
    for (const bool oldFile : {false, true}) {
        SCOPED_TRACE(oldFile ? "replacing a file" : "a new file");
        TempDir dir;
        const std::string path = dir.File("dump.bin");
        if (oldFile) {
            dir.Write("dump.bin", "old");
        }
        const std::set<std::string> before = Names(dir.Path());
        {
            OutputFile file(path);
            ASSERT_TRUE(file.Create());
            EXPECT_EQ(file.Write(Bytes("new data")), 8u);
#ifndef _WIN32
            EXPECT_EQ(Names(dir.Path()), before); // unnamed until committed (Windows shows a .part file)
#endif
            if (oldFile) {
                EXPECT_EQ(Text(path), "old");
            }
            ASSERT_TRUE(file.Commit());
        }
        EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"dump.bin"});
        EXPECT_EQ(Text(path), "new data");
#ifndef _WIN32
        struct stat info
        { };
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        const mode_t mask = umask(0);
        umask(mask);
        EXPECT_EQ(info.st_mode & 0777, 0644u & ~mask);
#endif
    }
}

TEST(OutputFileTest, AFileNotCommittedLeavesTheFolderAsItWas)
{
    TempDir dir;
    dir.Write("dump.bin", "old");
    {
        OutputFile file(dir.File("dump.bin"));
        ASSERT_TRUE(file.Create());
        EXPECT_EQ(file.Write(Bytes("half")), 4u);
    }
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"dump.bin"});
    EXPECT_EQ(Text(dir.File("dump.bin")), "old");
    OutputFile nowhere(dir.File("no/such/folder/dump.bin"));
    EXPECT_FALSE(nowhere.Create());
}

} // namespace

} // namespace boottool
