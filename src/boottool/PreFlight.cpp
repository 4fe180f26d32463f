#include "boottool/PreFlight.h"

#include "boottool/CmdParser.h"
#include "boottool/Str2Argv.h"

#include "platform/NativeFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>

namespace boottool {

namespace {

// A PC address of the right form for the translation; the real one may only be known later.
constexpr const char* kAnyPcAddress = "0.0.0.0";

[[nodiscard]] bool CheckReadable(const std::string& file, Console& console)
{
    // Non-blocking, so a named pipe given by mistake cannot hold up the check.
    const int fd = platform::OpenFile(file, O_RDONLY | platform::kOpenNoWait);
    std::error_code ignored;
    // Windows refuses to open a folder as a file; that is still no file, not a locked one.
    if (fd < 0 && errno != ENOENT && errno != ENOTDIR
        && !std::filesystem::is_directory(platform::PathOf(file), ignored)) {
        console.Out(Format("file %s can't be read (%s), please check.\n", file.c_str(), std::strerror(errno)));
        return false;
    }
    const bool regular = fd >= 0 && platform::IsRegularFile(fd);
    if (fd >= 0) {
        (void)platform::CloseFile(fd); // opened for the check only
    }
    if (!regular) {
        console.Out(Format("file %s not find, please check.\n", file.c_str()));
    }
    return regular;
}

[[nodiscard]] bool CheckWritable(const std::string& file, Console& console)
{
    const std::filesystem::path parent = platform::PathOf(file).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : platform::Utf8Of(parent);
    std::error_code error;
    const bool targetIsFolder = std::filesystem::is_directory(platform::PathOf(file), error);
    if (targetIsFolder || !platform::IsWritableFolder(folder)) {
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
