#include "boottool/OutputFile.h"

#include "platform/NativeFile.h"
#include "platform/WideText.h"
#include "platform/Win32Error.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

namespace boottool {

namespace {

// Whether the file behind the descriptor goes away when its last handle closes.
[[nodiscard]] bool SetDeleteOnClose(int fd, bool remove)
{
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = remove ? TRUE : FALSE;
    return SetFileInformationByHandle(
               reinterpret_cast<HANDLE>(_get_osfhandle(fd)), FileDispositionInfo, &disposition, sizeof disposition)
        != 0;
}

} // namespace

OutputFile::OutputFile(std::string path)
    : m_path(std::move(path))
{ }

OutputFile::~OutputFile()
{
    if (m_fd >= 0) {
        (void)platform::CloseFile(m_fd); // the file was marked for deletion; closing removes it
    }
    if (!m_tempPath.empty() && !m_committed) {
        (void)platform::RemoveFile(m_tempPath); // in case the mark did not take
    }
}

bool OutputFile::Create()
{
    return CreateNamed();
}

bool OutputFile::CreateNamed()
{
    const std::string stem = m_path + ".part" + std::to_string(GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = stem + std::to_string(attempt);
        // DELETE access, so the file can be marked for deletion until Commit.
        const HANDLE file = CreateFileW(platform::Widen(candidate).c_str(),
                                        GENERIC_WRITE | DELETE,
                                        FILE_SHARE_READ,
                                        nullptr,
                                        CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL,
                                        nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) {
                continue;
            }
            platform::SetErrnoFromLastError();
            return false;
        }
        m_fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
        if (m_fd < 0) {
            CloseHandle(file);
            (void)platform::RemoveFile(candidate);
            return false;
        }
        m_tempPath = candidate;
        // A tool killed half-way leaves nothing behind: the system removes the file with its last handle.
        (void)SetDeleteOnClose(m_fd, true);
        return true;
    }
    errno = EEXIST;
    return false;
}

std::size_t OutputFile::Write(std::span<const std::uint8_t> data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const std::ptrdiff_t put = platform::WriteSome(m_fd, data.data() + done, data.size() - done);
        if (put <= 0) {
            break;
        }
        done += static_cast<std::size_t>(put);
    }
    return done;
}

bool OutputFile::LinkUnnamed()
{
    return false; // Windows has no unnamed files
}

bool OutputFile::Commit()
{
    if (!platform::SyncFile(m_fd) || !SetDeleteOnClose(m_fd, false)) {
        return false;
    }
    const bool closed = platform::CloseFile(m_fd);
    m_fd = -1;
    if (!closed || !platform::RenameReplacing(m_tempPath, m_path)) {
        return false;
    }
    m_committed = true;
    return true;
}

} // namespace boottool
