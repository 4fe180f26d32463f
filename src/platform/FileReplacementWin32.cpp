#include "platform/FileReplacement.h"

#include "platform/WideText.h"
#include "platform/Win32Error.h"

#include <windows.h>

namespace platform {

void TakePermissionsOf(int /*fd*/, const std::string& /*target*/) { }

bool ReplaceWith(const std::string& target, const std::string& replacement)
{
    const std::wstring to = Widen(target);
    const std::wstring from = Widen(replacement);
    // Nothing there yet: the new file moves in under the name.
    if (GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
    } else if (ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        // It keeps the target's attributes, security and creation time, and leaves both files as they
        // were when it fails.
        return true;
    }
    SetErrnoFromLastError();
    return false;
}

} // namespace platform
