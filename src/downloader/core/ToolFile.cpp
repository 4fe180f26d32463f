#include "downloader/core/ToolFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

[[nodiscard]] bool ReadAll(int fd, std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t got = ::read(fd, data, size);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

// Whether path already holds the tool: a regular file of mode 0755 with the same bytes.
[[nodiscard]] bool HoldsTool(const std::string& path, const ToolResource& resource)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat info
    { };
    bool same = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 07777) == kToolMode
        && static_cast<std::uint64_t>(info.st_size) == resource.size;
    if (same && resource.size > 0) {
        std::vector<std::uint8_t> bytes(resource.size);
        same = ReadAll(fd, bytes.data(), bytes.size()) && std::memcmp(bytes.data(), resource.data, bytes.size()) == 0;
    }
    ::close(fd);
    return same;
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
    if (HoldsTool(path, resource)) {
        return ExtractResult::Ok;
    }
    // Written beside it and renamed over it: a window running the old tool keeps running it, and no
    // window ever starts a half-written one.
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return ExtractResult::CreateFailed;
    }
    // The mode mkstemp gives is private; the tool must be runnable as the extracted program always was.
    const bool ok = ::fchmod(fd, kToolMode) == 0 && WriteAll(fd, resource.data, resource.size);
    const bool closed = ::close(fd) == 0;
    if (!ok || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str()); // a half-written tool would only fail later, less clearly
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
