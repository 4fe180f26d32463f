#include "common/AtomicFile.h"
#include "platform/NativeFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace core {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The names in the folder, to see that no temporary file is left behind.
std::vector<std::string> Names(const TempDir& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(platform::PathOf(dir.Path()))) {
        names.push_back(platform::Utf8Of(entry.path().filename()));
    }
    return names;
}

#ifdef _WIN32
TEST(AtomicFile, ReplacesTheTargetAndKeepsItsAttributes)
{
    const TempDir dir;
    const std::string path = dir.Write("target.bin", std::string_view("old contents"));
    const std::wstring wide = std::filesystem::path(platform::PathOf(path)).wstring();
    ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_NE(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(ReadFileBytes(path), (Bytes{'n', 'e', 'w'}));
    EXPECT_NE(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"target.bin"}));
}
#else
TEST(AtomicFile, ReplacesTheTargetAndKeepsItsPermissions)
{
    const TempDir dir;
    const std::string path = dir.Write("target.bin", std::string_view("old contents"));
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(ReadFileBytes(path), (Bytes{'n', 'e', 'w'}));
    struct stat st
    { };
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"target.bin"}));
}
#endif

TEST(AtomicFile, AnUncommittedFileLeavesNothingBehind)
{
    const TempDir dir;
    const std::string path = dir.Write("target.bin", std::string_view("old"));
    {
        AtomicFile file(path);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write("half"));
    } // dropped without Commit, as after an error
    EXPECT_EQ(ReadFileBytes(path), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"target.bin"}));
    std::vector<std::uint8_t> data;
    EXPECT_TRUE(ReadWholeFile(path, data));
    EXPECT_FALSE(ReadWholeFile(dir.File("missing"), data));
}

// Names beyond ASCII (and beyond the ANSI code page on Windows) are written and read as named, for a
// new file as for one replaced.
TEST(AtomicFile, WritesAndReadsFilesNamedInAnyScript)
{
    const TempDir dir;
    const std::string path = dir.File("Kan\xC3\xA4le \xE9\xA2\x91\xE9\x81\x93 \xD0\xBA.db");
    ASSERT_TRUE(WriteFileAtomically(path, "first"));
    ASSERT_TRUE(WriteFileAtomically(path, "second"));
    std::vector<std::uint8_t> data;
    ASSERT_TRUE(ReadWholeFile(path, data));
    EXPECT_EQ(data, (Bytes{'s', 'e', 'c', 'o', 'n', 'd'}));
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"Kan\xC3\xA4le \xE9\xA2\x91\xE9\x81\x93 \xD0\xBA.db"}));
}

TEST(AtomicFile, AFolderThatIsMissingCannotTakeTheFile)
{
    const TempDir dir;
    EXPECT_FALSE(WriteFileAtomically(dir.File("no such folder/out.db"), "data"));
    EXPECT_TRUE(Names(dir).empty());
}

} // namespace

} // namespace core
