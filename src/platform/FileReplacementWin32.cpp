#include "platform/FileReplacement.h"

#include "platform/WideText.h"
#include "platform/Win32Error.h"

#include <io.h>
#include <windows.h>

namespace platform {

void TakePermissionsOf(int fd, const std::string& target)
{
    // ReplaceFileW carries the target's attributes over on Windows, but not every implementation of it
    // does (wine's does not): the new file takes the ones a user sets before it replaces the target.
    // Read-only is not among them: Windows refuses to replace a read-only file in any case.
    constexpr DWORD kKept
        = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD existing = GetFileAttributesW(Widen(target).c_str());
    if (existing == INVALID_FILE_ATTRIBUTES || (existing & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return;
    }
    FILE_BASIC_INFO info{}; // times of zero stay as they are
    // Attributes that cannot be set leave the new file with the usual ones; the save goes on.
    info.FileAttributes = (existing & kKept) != 0 ? existing & kKept : FILE_ATTRIBUTE_NORMAL;
    (void)SetFileInformationByHandle(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), FileBasicInfo, &info, sizeof info);
}

bool ReplaceWith(const std::string& target, const std::string& replacement)
{
    const std::wstring to = Widen(target);
    const std::wstring from = Widen(replacement);
    constexpr DWORD kMove = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    // Nothing there yet: the new file moves in under the name.
    if (GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (MoveFileExW(from.c_str(), to.c_str(), kMove)) {
            return true;
        }
        SetErrnoFromLastError();
        return false;
    }
    // ReplaceFileW keeps the target's attributes, security and creation time.
    if (ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        return true;
    }
    // This failure comes after the old file has gone: the new one must still take the name, or the
    // user would be left with neither. Any other leaves both files as they were.
    if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT && MoveFileExW(from.c_str(), to.c_str(), kMove)) {
        return true;
    }
    SetErrnoFromLastError();
    return false;
}

} // namespace platform
