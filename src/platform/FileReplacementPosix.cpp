#include "platform/FileReplacement.h"

#include <cstdio>
#include <sys/stat.h>

namespace platform {

void TakePermissionsOf(int fd, const std::string& target)
{
    struct stat existing
    { };
    if (::stat(target.c_str(), &existing) == 0) {
        ::fchmod(fd, existing.st_mode & 07777);
        return;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

bool ReplaceWith(const std::string& target, const std::string& replacement)
{
    return std::rename(replacement.c_str(), target.c_str()) == 0;
}

} // namespace platform
