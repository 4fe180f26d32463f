#pragma once

#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string>

// The file calls the programs need beyond the standard library, for names given in UTF-8. On POSIX
// systems they are the system's own calls; on Windows they go through the wide-character API, so a
// name with any character opens the file it names, and a replacement is written through to the disk.
namespace platform {

// Opening does not wait (a named pipe given by mistake); nothing to ask for on Windows.
#ifdef _WIN32
inline constexpr int kOpenNoWait = 0;
#else
inline constexpr int kOpenNoWait = O_NONBLOCK;
#endif

// Flags for OpenFile beyond O_RDONLY, O_WRONLY, O_RDWR, O_CREAT, O_EXCL and O_TRUNC: every file is
// opened in binary mode and is not inherited by programs the process starts.
[[nodiscard]] int OpenFile(const std::string& path, int flags, int mode = 0666);
[[nodiscard]] bool CloseFile(int fd);
// Reads or writes at an offset; where ReadSome and WriteSome go on afterwards is unspecified.
[[nodiscard]] std::ptrdiff_t ReadAt(int fd, void* buffer, std::size_t size, std::uint64_t offset);
[[nodiscard]] std::ptrdiff_t WriteAt(int fd, const void* data, std::size_t size, std::uint64_t offset);
[[nodiscard]] std::ptrdiff_t ReadSome(int fd, void* buffer, std::size_t size);
[[nodiscard]] std::ptrdiff_t WriteSome(int fd, const void* data, std::size_t size);
// The file's size in bytes, or -1.
[[nodiscard]] std::int64_t FileSize(int fd);
// Whether the descriptor is a regular file (not a folder, pipe or device).
[[nodiscard]] bool IsRegularFile(int fd);
// A hint that a large buffer about to be filled whole may be backed by large pages (on Linux, where
// that saves most of the page faults of filling it); nothing happens where there is no such hint.
void AdviseLargePages(void* data, std::size_t size);
// Makes the file's data durable.
[[nodiscard]] bool SyncFile(int fd);
// Gives `from` the name `to`, replacing a file there at once.
[[nodiscard]] bool RenameReplacing(const std::string& from, const std::string& to);
[[nodiscard]] bool RemoveFile(const std::string& path);

// A new file (mode 0600) or folder (0700) whose name is `stem` and six more characters, made for this
// caller alone: descriptor and name, or -1 and an empty name.
struct UniqueFile
{
    int fd = -1;
    std::string path;
};
[[nodiscard]] UniqueFile CreateUniqueFile(const std::string& stem);
[[nodiscard]] std::string CreateUniqueFolder(const std::string& stem);

// The size of a regular file (a link followed), or nullopt for anything else or nothing.
[[nodiscard]] std::optional<std::uint64_t> RegularFileSize(const std::string& path);
// Whether `path` is a folder the process may create files in.
[[nodiscard]] bool IsWritableFolder(const std::string& path);

// A path for the standard library from a UTF-8 name, and back.
[[nodiscard]] std::filesystem::path PathOf(const std::string& utf8);
[[nodiscard]] std::string Utf8Of(const std::filesystem::path& path);

// The text of the last failure of one of the calls above (errno's, or the system's on Windows).
[[nodiscard]] std::string LastErrorText();
// The errno value that best describes the last failure.
[[nodiscard]] int LastErrorNumber();

} // namespace platform
