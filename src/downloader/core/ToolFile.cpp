#include "downloader/core/ToolFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace downloader {

namespace {

constexpr mode_t kToolMode = 0755;

[[nodiscard]] bool WriteAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

ExtractResult ExtractTool(const ToolResource& resource, const std::string& path)
{
    if (!resource.found) {
        return ExtractResult::NotFound;
    }
    if (resource.data == nullptr) {
        return ExtractResult::LoadFailed;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kToolMode);
    if (fd < 0) {
        return ExtractResult::CreateFailed;
    }
    // The mode given to open is narrowed by the umask; the tool must be runnable all the same.
    const bool ok = ::fchmod(fd, kToolMode) == 0 && WriteAll(fd, resource.data, resource.size);
    const bool closed = ::close(fd) == 0;
    if (!ok || !closed) {
        ::unlink(path.c_str()); // a half-written tool would only fail later, less clearly
        return ExtractResult::CreateFailed;
    }
    return ExtractResult::Ok;
}

std::string_view ExtractFailureMessage(ExtractResult result)
{
    switch (result) {
    case ExtractResult::NotFound:
        return "查找资源文件失败!";
    case ExtractResult::LoadFailed:
        return "装载资源文件失败!";
    case ExtractResult::CreateFailed:
        return "创建boot.exe文件失败!";
    case ExtractResult::Ok:
        break;
    }
    return {};
}

bool DeleteToolFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

} // namespace downloader
