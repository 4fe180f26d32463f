#include "platform/NativeFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

int OpenFile(const std::string& path, int flags, int mode)
{
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, static_cast<mode_t>(mode));
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool CloseFile(int fd)
{
    return ::close(fd) == 0;
}

std::ptrdiff_t ReadAt(int fd, void* buffer, std::size_t size, std::uint64_t offset)
{
    ssize_t got = -1;
    do {
        got = ::pread(fd, buffer, size, static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    return got;
}

std::ptrdiff_t WriteAt(int fd, const void* data, std::size_t size, std::uint64_t offset)
{
    ssize_t put = -1;
    do {
        put = ::pwrite(fd, data, size, static_cast<off_t>(offset));
    } while (put < 0 && errno == EINTR);
    return put;
}

std::ptrdiff_t ReadSome(int fd, void* buffer, std::size_t size)
{
    ssize_t got = -1;
    do {
        got = ::read(fd, buffer, size);
    } while (got < 0 && errno == EINTR);
    return got;
}

std::ptrdiff_t WriteSome(int fd, const void* data, std::size_t size)
{
    ssize_t put = -1;
    do {
        put = ::write(fd, data, size);
    } while (put < 0 && errno == EINTR);
    return put;
}

std::int64_t FileSize(int fd)
{
    struct stat info
    { };
    return ::fstat(fd, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
}

bool IsRegularFile(int fd)
{
    struct stat info
    { };
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

UniqueFile CreateUniqueFile(const std::string& stem)
{
    std::string name = stem + "XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    // The name is moved, not copied: no allocation can fail between making the file and handing it over.
    return fd < 0 ? UniqueFile{} : UniqueFile{fd, std::move(name)};
}

std::string CreateUniqueFolder(const std::string& stem)
{
    std::string name = stem + "XXXXXX";
    return ::mkdtemp(name.data()) == nullptr ? std::string() : name;
}

bool IsWritableFolder(const std::string& path)
{
    struct stat info
    { };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

void AdviseLargePages([[maybe_unused]] void* data, [[maybe_unused]] std::size_t size)
{
#ifdef MADV_HUGEPAGE
    // Only whole large pages inside the buffer: the advice applies to the pages it covers.
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    const auto first = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (first + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t end = (first + size) & ~(kLargePage - 1);
    if (end > begin) {
        (void)::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    }
#endif
}

bool SyncFile(int fd)
{
    return ::fsync(fd) == 0;
}

bool RenameReplacing(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

std::string LastErrorText()
{
    return std::strerror(errno);
}

int LastErrorNumber()
{
    return errno;
}

} // namespace platform
