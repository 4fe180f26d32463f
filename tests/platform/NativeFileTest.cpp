#include "platform/NativeFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace platform {

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempDir;

// Names beyond every 8-bit code page: Greek, CJK and an emoji outside the basic plane.
const std::string kWideName
    = "\xce\x94\xce\xb9\xce\xb1\xcf\x8d\xce\xbb\xce\xbf\xcf\x82-\xe9\xa2\x91\xe9\x81\x93-\xf0\x9f\x93\xa1.bin";

std::string Text(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

TEST(NativeFileTest, AnyNameInUtf8OpensTheFileItNames)
{
    const TempDir dir;
    const std::string path = dir.File(kWideName);
    const int fd = OpenFile(path, O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0) << LastErrorText();
    EXPECT_EQ(WriteSome(fd, "abc\n", 4), 4);
    EXPECT_TRUE(SyncFile(fd));
    EXPECT_TRUE(CloseFile(fd));

    EXPECT_EQ(RegularFileSize(path), std::optional<std::uint64_t>(4));
    EXPECT_EQ(Text(ReadFileBytes(path)), "abc\n"); // binary: no CR added
    EXPECT_TRUE(std::filesystem::exists(PathOf(path)));
    EXPECT_EQ(Utf8Of(PathOf(path)), path);
    EXPECT_EQ(OpenFile(path, O_WRONLY | O_CREAT | O_EXCL, 0644), -1);
    EXPECT_EQ(LastErrorNumber(), EEXIST);
}

TEST(NativeFileTest, ReadsAndWritesAtOffsets)
{
    const TempDir dir;
    const std::string path = dir.Write("image.bin", std::string(16, '.'));
    const int fd = OpenFile(path, O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(WriteAt(fd, "XY", 2, 10), 2);
    char buffer[4] = {};
    EXPECT_EQ(ReadAt(fd, buffer, 4, 9), 4);
    EXPECT_EQ(std::string(buffer, 4), ".XY.");
    EXPECT_EQ(ReadAt(fd, buffer, 4, 16), 0); // at the end
    EXPECT_EQ(FileSize(fd), 16);
    EXPECT_TRUE(IsRegularFile(fd));
    EXPECT_TRUE(CloseFile(fd));
    EXPECT_EQ(Text(ReadFileBytes(path)), "..........XY....");
}

TEST(NativeFileTest, RenameReplacesTheTargetAndRemoveDeletes)
{
    const TempDir dir;
    const std::string target = dir.Write(kWideName, "old");
    const std::string fresh = dir.Write("fresh.tmp", "new content");
    ASSERT_TRUE(RenameReplacing(fresh, target)) << LastErrorText();
    EXPECT_EQ(Text(ReadFileBytes(target)), "new content");
    EXPECT_FALSE(RegularFileSize(fresh).has_value());
    EXPECT_TRUE(RemoveFile(target));
    EXPECT_FALSE(RegularFileSize(target).has_value());
    EXPECT_FALSE(RemoveFile(target));
    EXPECT_EQ(LastErrorNumber(), ENOENT);
}

TEST(NativeFileTest, WhatIsNoRegularFile)
{
    const TempDir dir;
    EXPECT_FALSE(RegularFileSize(dir.Path()).has_value());
    EXPECT_FALSE(RegularFileSize(dir.File("missing")).has_value());
    EXPECT_TRUE(IsWritableFolder(dir.Path()));
    EXPECT_FALSE(IsWritableFolder(dir.File("missing")));
    EXPECT_FALSE(IsWritableFolder(dir.Write("plain", "x")));
    EXPECT_EQ(OpenFile(dir.File("missing"), O_RDONLY), -1);
    EXPECT_EQ(LastErrorNumber(), ENOENT);
}

TEST(NativeFileTest, UniqueNamesAreNeverShared)
{
    const TempDir dir;
    const std::string stem = dir.File(kWideName + ".");
    const UniqueFile first = CreateUniqueFile(stem);
    const UniqueFile second = CreateUniqueFile(stem);
    ASSERT_GE(first.fd, 0);
    ASSERT_GE(second.fd, 0);
    EXPECT_NE(first.path, second.path);
    EXPECT_EQ(first.path.rfind(stem, 0), 0u);
    EXPECT_EQ(first.path.size(), stem.size() + 6);
    EXPECT_TRUE(CloseFile(first.fd));
    EXPECT_TRUE(CloseFile(second.fd));
    const std::string folder = CreateUniqueFolder(stem);
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(IsWritableFolder(folder));
    EXPECT_NE(folder, CreateUniqueFolder(stem));
}

} // namespace

} // namespace platform
