#include "platform/NativeFile.h"

#include "platform/WideText.h"
#include "platform/Win32Error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <sys/stat.h>
#include <utility>
#include <windows.h>

namespace platform {

namespace {

[[nodiscard]] HANDLE HandleOf(int fd)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

[[nodiscard]] OVERLAPPED At(std::uint64_t offset)
{
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

// The Win32 calls move at most 4 GiB - 1 at once; the callers loop.
[[nodiscard]] DWORD Chunk(std::size_t size)
{
    constexpr std::size_t kMost = 0x40000000u;
    return static_cast<DWORD>(size < kMost ? size : kMost);
}

} // namespace

int OpenFile(const std::string& path, int flags, int mode)
{
    return _wopen(Widen(path).c_str(), flags | _O_BINARY | _O_NOINHERIT, mode);
}

bool CloseFile(int fd)
{
    return _close(fd) == 0;
}

std::ptrdiff_t ReadAt(int fd, void* buffer, std::size_t size, std::uint64_t offset)
{
    OVERLAPPED where = At(offset);
    DWORD got = 0;
    if (!ReadFile(HandleOf(fd), buffer, Chunk(size), &got, &where)) {
        if (GetLastError() == ERROR_HANDLE_EOF) {
            return 0;
        }
        SetErrnoFromLastError();
        return -1;
    }
    return static_cast<std::ptrdiff_t>(got);
}

std::ptrdiff_t WriteAt(int fd, const void* data, std::size_t size, std::uint64_t offset)
{
    OVERLAPPED where = At(offset);
    DWORD put = 0;
    if (!WriteFile(HandleOf(fd), data, Chunk(size), &put, &where)) {
        SetErrnoFromLastError();
        return -1;
    }
    return static_cast<std::ptrdiff_t>(put);
}

std::ptrdiff_t ReadSome(int fd, void* buffer, std::size_t size)
{
    return _read(fd, buffer, static_cast<unsigned>(Chunk(size)));
}

std::ptrdiff_t WriteSome(int fd, const void* data, std::size_t size)
{
    return _write(fd, data, static_cast<unsigned>(Chunk(size)));
}

std::int64_t FileSize(int fd)
{
    struct _stat64 info
    { };
    return _fstat64(fd, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
}

bool IsRegularFile(int fd)
{
    struct _stat64 info
    { };
    return _fstat64(fd, &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG;
}

namespace {

// Six characters for a unique name; a new random start for every call.
class NameSuffixes
{
public:
    NameSuffixes()
        : m_next(std::random_device{}())
    { }
    [[nodiscard]] std::string Next()
    {
        static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        std::string suffix;
        std::uint32_t value = m_next++ * 2654435761u;
        for (int index = 0; index < 6; ++index) {
            suffix += kLetters[value % 36];
            value /= 36;
        }
        return suffix;
    }

private:
    std::uint32_t m_next;
};

constexpr int kNameAttempts = 100;

} // namespace

UniqueFile CreateUniqueFile(const std::string& stem)
{
    NameSuffixes suffixes;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = stem + suffixes.Next();
        const int fd = OpenFile(name, O_RDWR | O_CREAT | O_EXCL, _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            return {fd, std::move(name)}; // moved: no allocation can fail once the file exists
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return {};
}

std::string CreateUniqueFolder(const std::string& stem)
{
    NameSuffixes suffixes;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = stem + suffixes.Next();
        if (CreateDirectoryW(Widen(name).c_str(), nullptr)) {
            return name;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    return {};
}

bool IsWritableFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    // Whether the rights allow a new file shows only when one is made; a folder that exists and is not
    // read-only counts as writable.
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
        && _waccess(Widen(path).c_str(), 2) == 0;
}

void AdviseLargePages(void* /*data*/, std::size_t /*size*/)
{
    // Large pages on Windows need a privilege an editor does not hold: nothing to ask for.
}

bool SyncFile(int fd)
{
    return _commit(fd) == 0;
}

bool RenameReplacing(const std::string& from, const std::string& to)
{
    if (MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    SetErrnoFromLastError();
    return false;
}

bool RemoveFile(const std::string& path)
{
    return _wunlink(Widen(path).c_str()) == 0;
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
