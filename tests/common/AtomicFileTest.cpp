#include "common/AtomicFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace core {

namespace {

TEST(AtomicFile, ReplacesTheTargetAndKeepsItsPermissions)
{
    const TempDir dir;
    const std::string path = dir.Write("target.bin", std::string_view("old contents"));
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(ReadFileBytes(path), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
    struct stat st
    { };
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(AtomicFile, AnUncommittedFileLeavesNothingBehind)
{
    const TempDir dir;
    const std::string path = dir.Write("target.bin", std::string_view("old"));
    {
        AtomicFile file(path);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write("half"));
    } // dropped without Commit, as after an error
    EXPECT_EQ(ReadFileBytes(path), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    std::vector<std::uint8_t> data;
    EXPECT_TRUE(ReadWholeFile(path, data));
    EXPECT_FALSE(ReadWholeFile(dir.File("missing"), data));
}

} // namespace

} // namespace core
