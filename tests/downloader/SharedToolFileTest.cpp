#include "downloader/core/SharedToolFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace downloader {

namespace {

const std::uint8_t kTool[] = {0x7F, 'E', 'L', 'F', 4, 5, 6};
const ToolResource kResource{true, kTool, sizeof kTool};

ino_t Inode(const std::string& path)
{
    struct stat info
    { };
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

// Two windows in one folder share the tool: the first to close leaves it to the other.
TEST(SharedToolFile, TheLastWindowToCloseRemovesTheTool)
{
    TempDir dir;
    const std::string path = dir.File("boot.exe");
    for (const bool firstClosesFirst : {true, false}) {
        SCOPED_TRACE(firstClosesFirst ? "first window closes first" : "second window closes first");
        SharedToolFile first(path);
        SharedToolFile second(path);
        ASSERT_EQ(first.Acquire(kResource), ExtractResult::Ok);
        const ino_t written = Inode(path);
        ASSERT_EQ(second.Acquire(kResource), ExtractResult::Ok);
        EXPECT_EQ(Inode(path), written); // the same tool: not written again under the first window
        (firstClosesFirst ? first : second).Release();
        EXPECT_TRUE(std::filesystem::exists(path));
        (firstClosesFirst ? second : first).Release();
        EXPECT_FALSE(std::filesystem::exists(path));
        first.Release(); // again: nothing more happens
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

// Another program's window counts too, and one that ended without closing (killed) counts no more.
TEST(SharedToolFile, AWindowOfAnotherProgramCounts)
{
    TempDir dir;
    const std::string path = dir.File("boot.exe");
    for (const bool otherStillOpen : {true, false}) {
        SCOPED_TRACE(otherStillOpen ? "other program still open" : "other program killed");
        SharedToolFile mine(path);
        ASSERT_EQ(mine.Acquire(kResource), ExtractResult::Ok);
        int toChild[2] = {-1, -1};
        int toParent[2] = {-1, -1};
        ASSERT_EQ(::pipe(toChild), 0);
        ASSERT_EQ(::pipe(toParent), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            SharedToolFile other(path);
            const char ready = other.Acquire(kResource) == ExtractResult::Ok ? 'y' : 'n';
            [[maybe_unused]] const ssize_t sent = ::write(toParent[1], &ready, 1);
            char done = 0;
            [[maybe_unused]] const ssize_t got = ::read(toChild[0], &done, 1);
            ::_exit(0); // never closes its window: the system lets go of its lock
        }
        char ready = 0;
        ASSERT_EQ(::read(toParent[0], &ready, 1), 1);
        EXPECT_EQ(ready, 'y');
        if (!otherStillOpen) {
            const char done = 'x';
            ASSERT_EQ(::write(toChild[1], &done, 1), 1);
            ::waitpid(child, nullptr, 0);
        }
        mine.Release();
        EXPECT_EQ(std::filesystem::exists(path), otherStillOpen);
        if (otherStillOpen) {
            const char done = 'x';
            ASSERT_EQ(::write(toChild[1], &done, 1), 1);
            ::waitpid(child, nullptr, 0);
            std::filesystem::remove(path);
        }
        for (const int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) {
            ::close(fd);
        }
    }
}

// A different tool in the folder (another version) is replaced by a new file, never rewritten in place:
// a window running the old one keeps it.
TEST(SharedToolFile, ADifferentToolIsReplacedWhole)
{
    TempDir dir;
    const std::string path = dir.Write("boot.exe", std::string(5000, 'o'));
    ::chmod(path.c_str(), 0755);
    const ino_t old = Inode(path);
    SharedToolFile window(path);
    ASSERT_EQ(window.Acquire(kResource), ExtractResult::Ok);
    EXPECT_NE(Inode(path), old);
    EXPECT_EQ(ReadFileBytes(path), std::vector<std::uint8_t>(std::begin(kTool), std::end(kTool)));
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.Path()), {});
    EXPECT_EQ(entries, 1); // no temporary file left over
    // The same bytes without the execute bits are no runnable tool: written again.
    window.Release();
    SharedToolFile again(path);
    ASSERT_EQ(again.Acquire(kResource), ExtractResult::Ok);
    ::chmod(path.c_str(), 0644);
    SharedToolFile third(path);
    ASSERT_EQ(third.Acquire(kResource), ExtractResult::Ok);
    struct stat info
    { };
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755u);
}

TEST(SharedToolFile, AFailedExtractionHoldsNothing)
{
    TempDir dir;
    const std::string path = dir.File("boot.exe");
    std::filesystem::create_directory(path);
    SharedToolFile window(path);
    EXPECT_EQ(window.Acquire(kResource), ExtractResult::CreateFailed);
    window.Release();
    EXPECT_TRUE(std::filesystem::is_directory(path)); // not ours: left alone
    SharedToolFile missing(dir.File("none/boot.exe"));
    EXPECT_EQ(missing.Acquire(kResource), ExtractResult::CreateFailed);
}

} // namespace downloader
