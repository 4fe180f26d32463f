#include "boottool/PreFlight.h"

#include "boottool/CmdParser.h"
#include "boottool/Str2Argv.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace boottool {

namespace {

// A PC address of the right form for the translation; the real one may only be known later.
constexpr const char* kAnyPcAddress = "0.0.0.0";

[[nodiscard]] bool CheckReadable(const std::string& file, Console& console)
{
    // Non-blocking, so a named pipe given by mistake cannot hold up the check.
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno != ENOENT && errno != ENOTDIR) {
        console.Out(Format("file %s can't be read (%s), please check.\n", file.c_str(), std::strerror(errno)));
        return false;
    }
    struct stat info
    { };
    const bool regular = fd >= 0 && fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (fd >= 0) {
        close(fd);
    }
    if (!regular) {
        console.Out(Format("file %s not find, please check.\n", file.c_str()));
    }
    return regular;
}

[[nodiscard]] bool CheckWritable(const std::string& file, Console& console)
{
    std::filesystem::path folder = std::filesystem::path(file).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    struct stat target
    { };
    struct stat place
    { };
    const bool targetIsFolder = stat(file.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
    const bool folderOk
        = stat(folder.c_str(), &place) == 0 && S_ISDIR(place.st_mode) && access(folder.c_str(), W_OK | X_OK) == 0;
    if (targetIsFolder || !folderOk) {
        console.Out(Format("can't create file %s, please check.\n", file.c_str()));
        return false;
    }
    return true;
}

[[nodiscard]] bool CheckCommand(const std::string& command, Console& console)
{
    const Str2ArgvResult split = str2argv(command);
    if (!split.ok || split.words.empty()) {
        return true; // dropped with its warning when its turn comes, as before
    }
    const std::vector<std::string>& words = split.words;
    const LoaderCommand translated = cmd_parser(words, command, NetAddresses{kAnyPcAddress, {}});
    if (translated.status != CmdStatus::Ok) {
        console.Out(translated.message);
        return false;
    }
    if (translated.kind == TransferKind::SendFile && !CheckReadable(translated.file, console)) {
        return false;
    }
    if (translated.kind == TransferKind::ReceiveFile && !CheckWritable(translated.file, console)) {
        return false;
    }
    for (const std::string& file : TftpFilesOf(words)) {
        if (!CheckReadable(file, console)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool CheckBeforePowerOn(const std::vector<std::string>& commands, Console& console)
{
    for (const std::string& command : commands) {
        if (!CheckCommand(command, console)) {
            return false;
        }
    }
    return true;
}

} // namespace boottool
