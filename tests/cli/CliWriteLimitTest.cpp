#include "support/ByteBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using testsupport::ByteBuilder;
using testsupport::FilesIn;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace cli {

namespace {

struct ChildResult
{
    bool exited = false; // false when a signal ended it
    int status = -1;
    std::string err;
};

// Runs corvane-cli with args in a child process whose files may grow to at most limit bytes, as
// `ulimit -f` sets it; SIGXFSZ keeps its default action there, so only the program's own handling
// keeps it alive.
ChildResult RunLimited(const std::vector<std::string>& args, rlim_t limit, const std::string& errPath)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        const struct rlimit small = {limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &small);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, 2);
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, 1);
        std::vector<char*> argv{const_cast<char*>(CORVANE_CLI)};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(CORVANE_CLI, argv.data());
        ::_exit(127);
    }
    ChildResult result;
    int wstatus = 0;
    if (pid < 0 || ::waitpid(pid, &wstatus, 0) != pid) {
        return result;
    }
    result.exited = WIFEXITED(wstatus);
    result.status = result.exited ? WEXITSTATUS(wstatus) : -WTERMSIG(wstatus);
    const std::vector<std::uint8_t> err = ReadFileBytes(errPath);
    result.err.assign(err.begin(), err.end());
    return result;
}

TEST(CliWriteLimit, WritesBeyondTheFileSizeLimitFailWithAMessageAndLeaveNoFileBehind)
{
    const TempDir errors;
    const std::string sample = std::string(SAMPLES_DIR) + "/sample.db";
    const auto sampleSize = static_cast<rlim_t>(std::filesystem::file_size(sample));
    // An image whose default-database area takes the sample: its backup alone passes the limit.
    ByteBuilder imageBytes;
    imageBytes.Text("boot").Text("Sg8K").Fill(16, 0x11).Text("Eg8K").Fill(sampleSize + 4096, 0xFF).Text("rest");
    const std::string image(imageBytes.View());
    struct Case
    {
        const char* name;
        std::string target; // the file the command writes, there before with old content
        std::vector<std::string> extra; // options after the files
        rlim_t limit;
        const char* message;
    };
    const Case cases[] = {
        {"default-database file", "out.db", {}, sampleSize / 2, "Write file failed!"},
        {"workbook", "out.xls", {}, 4096, "Write file failed!"},
        {"merge: the backup of the image", "image.bin", {}, sampleSize, "Write file failed!"},
        {"merge: the area of the image", "image.bin", {"--no-backup"}, sampleSize / 2, "Write file failed!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        const bool merge = c.target == "image.bin";
        const std::string target = dir.Write(c.target, merge ? image : std::string("old content"));
        const std::vector<std::uint8_t> before = ReadFileBytes(target);
        std::vector<std::string> args{merge ? "merge" : "convert", sample, target};
        args.insert(args.end(), c.extra.begin(), c.extra.end());

        const ChildResult r = RunLimited(args, c.limit, errors.File("err.txt"));
        EXPECT_TRUE(r.exited) << "ended by signal " << -r.status;
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, std::string(c.message) + "\n");
        EXPECT_EQ(ReadFileBytes(target), before);
        EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{c.target}); // no temporary file, no backup
    }
}

} // namespace

} // namespace cli
